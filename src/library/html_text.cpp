#include "library/html_text.h"

#include "util/html_escape.h"

namespace taviro::catalogue {

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendHtmlEscaped(out, text);
  return out;
}

std::string ScriptStringLiteral(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '/': out += (i > 0 && text[i - 1] == '<') ? "\\/" : "/"; break;
      default: out += c;
    }
  }
  out += '"';
  return out;
}

}  // namespace taviro::catalogue
