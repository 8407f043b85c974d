#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace taviro::channels {

// `text` without blanks (spaces, tabs, CR, LF) at either end.
std::string_view TrimBlanks(std::string_view text);

// The longest beginning of UTF-8 `text` of at most `max_bytes` bytes that
// does not end inside a character, so a cut name stays valid UTF-8.
std::string CutUtf8(std::string_view text, std::size_t max_bytes);

// The key two channel names match by: ASCII letters folded to lower case,
// blanks and the ideographic space dropped ("CCTV 1" meets "cctv1").
std::string NameKey(std::string_view name);

// `a` equals `b` with ASCII letters in either case.
bool EqualsFolded(std::string_view a, std::string_view b);

}  // namespace taviro::channels
