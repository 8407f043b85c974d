#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace taviro {

// The Windows profile (INI) layout, on the file's own GB18030 bytes:
//   [section]
//   key=value
// Names match without regard to ASCII case, blanks (spaces, tabs) around
// names and values do not count, lines starting with ';' are comments, and
// of duplicate sections or keys the first one wins. Lines end at LF with an
// optional CR before it.

std::string_view TrimBlanks(std::string_view text);

// The value of `key` in the first section named `section`, without the
// blanks around it and without one pair of matching surrounding quotes;
// nothing when the section, the key or either name is missing.
std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key);

// `text` with `key` of `section` set to `value`. Only one place changes, so
// every other line keeps its bytes, its line end and its order:
// - an existing key's line becomes "<key as spelled there>=<value>" (left
//   alone when it already holds exactly that value);
// - a new key goes on its own line after the last non-blank line of the
//   first matching section;
// - a new section goes at the end of the text.
// Lines added are CR LF terminated. The caller makes sure that the names
// and the value cannot break the line structure.
std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value);

}  // namespace taviro
