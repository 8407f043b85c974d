#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace taviro {

// "lib/wen.txt": six fields joined by "====".
struct SwitchFile {
  std::string exit_promotion;  // field 0, whole
  bool notice = false;         // field 1
  bool pause_panel = false;    // field 2
  bool ticker = false;         // field 3
  bool player_panel = false;   // field 4
  std::string version;         // field 5 without line breaks; empty when missing
};

// Nothing when the text is empty or holds no "====". Missing fields count
// as off.
std::optional<SwitchFile> ParseSwitchFile(std::string_view text);

// A switch is on when its field is a number equal to 1 ("1", "01", "1.0",
// blanks and line breaks around it allowed). An empty field, or one that is
// not wholly a number ("1x", "yes"), is off.
bool SwitchIsOn(std::string_view field);

}  // namespace taviro
