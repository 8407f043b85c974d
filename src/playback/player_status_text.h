#pragma once

#include <optional>
#include <string>

namespace taviro {

// What the player reports in one poll, as the status label words it.
struct PlayerReading {
  int state = 0;
  int speed = 0;        // transfer rate, "Kbps/S"
  int rate = 0;         // the second rate, "Kbps"
  int position = 0;     // seconds
  bool loaded = false;  // a media address is set
};

// The status label's text for the player's state; nothing for a state code
// it does not know (the label then keeps its text).
std::optional<std::string> PlayerStatusText(const PlayerReading& reading);

}  // namespace taviro
