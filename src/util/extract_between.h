#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace taviro {

// The text between the first `start_marker` and the first `end_marker` after
// it, with both markers (mode 1) or without them (mode 2); positions count
// characters. Nothing when a marker is missing or the mode is neither 1 nor 2.
// In mode 2 a missing start marker is not noticed: the end marker is then
// looked for from the character whose 1-based position equals the length of
// the start marker, and the result begins there.
std::optional<std::string> ExtractBetween(std::string_view text, std::string_view start_marker,
                                          std::string_view end_marker, int mode);

}  // namespace taviro
