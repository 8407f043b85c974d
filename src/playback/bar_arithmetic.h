#pragma once

#include <cstdint>

namespace taviro {

// numerator / denominator rounded to the nearest whole number, halves to
// even, as the player's whole-second properties take a fraction. The
// denominator must be positive.
std::int64_t RoundedRatio(std::int64_t numerator, std::int64_t denominator);

}  // namespace taviro
