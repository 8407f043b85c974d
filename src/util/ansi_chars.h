#pragma once

#include <cstddef>
#include <string_view>

namespace taviro {

// Character boundaries in GB18030 text. Bytes of ASCII value can be the
// second half of a double-byte character ('[', ']', letters), so anything
// that looks for a delimiter or folds case must step by characters.

// Length in bytes (1, 2 or 4) of the character starting at `pos`; a byte
// that starts no complete character counts as one.
std::size_t AnsiCharLength(std::string_view text, std::size_t pos);

// The longest beginning of `text` of at most `max_bytes` bytes that does not
// end inside a character.
std::string_view CutAnsiText(std::string_view text, std::size_t max_bytes);

}  // namespace taviro
