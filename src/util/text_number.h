#pragma once

#include <string_view>

namespace taviro {

// Reads a stored text as a number, leniently, as every reader of the stored
// files expects: blanks before the number are skipped, an optional sign and
// the leading digits count, everything from the first other character on is
// ignored. A text without leading digits is 0. Values beyond the int range
// stick at its ends.
int ToInteger(std::string_view text);

}  // namespace taviro
