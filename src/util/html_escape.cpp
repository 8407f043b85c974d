#include "util/html_escape.h"

namespace taviro {

void AppendHtmlEscaped(std::string& out, std::string_view text) {
  std::size_t done = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::string_view reference;
    switch (text[i]) {
      case '&': reference = "&amp;"; break;
      case '<': reference = "&lt;"; break;
      case '>': reference = "&gt;"; break;
      case '"': reference = "&quot;"; break;
      case '\'': reference = "&#39;"; break;
      default: continue;
    }
    out.append(text.substr(done, i - done)).append(reference);
    done = i + 1;
  }
  out.append(text.substr(done));
}

}  // namespace taviro
