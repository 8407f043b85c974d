#include "playback/bar_arithmetic.h"

namespace taviro {

std::int64_t RoundedRatio(std::int64_t numerator, std::int64_t denominator) {
  const bool negative = numerator < 0;
  const std::int64_t magnitude = negative ? -numerator : numerator;
  std::int64_t quotient = magnitude / denominator;
  const std::int64_t twice_rest = 2 * (magnitude % denominator);
  if (twice_rest > denominator || (twice_rest == denominator && quotient % 2 == 1)) ++quotient;
  return negative ? -quotient : quotient;
}

}  // namespace taviro
