#pragma once

#include <string>
#include <string_view>

namespace taviro::catalogue {

// Text placed between tags or inside a quoted attribute.
std::string HtmlEscape(std::string_view text);

// A double-quoted script string literal that is also safe inside a
// <script> element (no "</" and no raw line ends).
std::string ScriptStringLiteral(std::string_view text);

}  // namespace taviro::catalogue
