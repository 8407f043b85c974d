#pragma once

#include <string>
#include <string_view>

namespace taviro {

// Appends `text` with & < > " ' written as character references, so text
// from the service or from file names stays text in a page and inside a
// quoted attribute.
void AppendHtmlEscaped(std::string& out, std::string_view text);

}  // namespace taviro
