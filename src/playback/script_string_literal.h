#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace taviro {

// One JavaScript string literal ('...' or "...") at the start of `text`
// (code points), decoded into UTF-16 code units; `length` gets how many code
// points of `text` it took. Nothing when `text` does not start with a complete literal, or the
// literal uses a form this reader does not take (legacy octal escapes, a
// raw line break).
std::optional<std::u16string> ReadScriptStringLiteral(std::u32string_view text, std::size_t& length);

// `units` as a JSON string literal that is safe inside an HTML <script>
// element: "<", ">" and "&" as \u escapes, so no text can close the
// element or open a comment; control characters, U+2028, U+2029 and
// unpaired surrogates escaped too. Everything else is written as UTF-8.
std::string ScriptSafeJsonLiteral(std::u16string_view units);

}  // namespace taviro
