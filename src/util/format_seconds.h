#pragma once

#include <cstdint>
#include <string>

namespace taviro {

// "m:ss"-style play time: "mm:ss" under an hour, "h:mm:ss" from an hour on
// (hours unpadded). A negative count is shown as 0.
std::string FormatSeconds(std::int64_t seconds);

}  // namespace taviro
