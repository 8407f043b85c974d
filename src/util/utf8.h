#pragma once

#include <string>
#include <string_view>

namespace taviro {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// Decodes UTF-8 into code points; malformed sequences become U+FFFD so that
// text from files and the network never stops a routine halfway.
std::u32string DecodeUtf8(std::string_view text);

// Encodes code points as UTF-8; surrogates and values beyond U+10FFFF become
// U+FFFD.
std::string EncodeUtf8(std::u32string_view code_points);
void AppendUtf8(std::string& out, char32_t code_point);

// UTF-16 code units, as script engines see text.
std::u16string Utf8ToUtf16(std::string_view text);
// Paired surrogates are joined; an unpaired one becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);

bool IsAscii(std::string_view text);
// True when `text` is well-formed UTF-8 (no surrogates, no overlong forms).
bool IsValidUtf8(std::string_view text);

}  // namespace taviro
