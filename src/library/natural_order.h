#pragma once

#include <string_view>

namespace taviro::library {

// Names as people sort them: digit runs by their value ("2" before "10"),
// letters in either case alike; names alike that way fall back to their
// bytes, so the order is total.
bool NaturalLess(std::string_view a, std::string_view b);

}  // namespace taviro::library
