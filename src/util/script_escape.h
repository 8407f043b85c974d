#pragma once

#include <string>
#include <string_view>

namespace taviro {

// The legacy ECMAScript escape()/unescape() pair, on UTF-16 code units, with
// UTF-8 text on our side. Catalogue titles, episode names and media addresses
// travel in this form.
std::string ScriptEscape(std::string_view text);
// An unpaired surrogate produced by a %uXXXX form becomes U+FFFD.
std::string ScriptUnescape(std::string_view text);

}  // namespace taviro
