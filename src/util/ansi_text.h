#pragma once

#include <string>
#include <string_view>

namespace taviro {

// The files the program shares with the Windows program are in the "ANSI"
// code page, GB18030 here: a superset of GBK that can carry any Unicode text.
// Inside the program all text is UTF-8.

// UTF-8 to GB18030. Malformed UTF-8 is written as U+FFFD.
std::string EncodeAnsi(std::string_view utf8);

// GB18030 to UTF-8. Bytes that form no GB18030 character become U+FFFD.
std::string DecodeAnsi(std::string_view ansi);

// Text in `encoding` (an iconv name) to UTF-8, each byte that forms no
// character as U+FFFD.
std::string DecodeToUtf8(std::string_view bytes, const char* encoding);

}  // namespace taviro
