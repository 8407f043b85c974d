#pragma once

#include <string>
#include <string_view>

namespace taviro {

// The longest beginning of `text` whose width is at most `max_width`, where
// an ASCII character is 1 wide and any other character 2; `text` unchanged
// when max_width / 2 is at least its number of characters.
std::string TruncateByWidth(std::string_view text, int max_width);

}  // namespace taviro
