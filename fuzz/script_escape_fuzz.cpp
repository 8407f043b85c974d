// escape()/unescape(): text comes back from its escaped form, the escaped
// form holds only the characters escape() leaves, and anything unescapes to
// well-formed UTF-8.
#include <cstdint>
#include <string>

#include "property.h"
#include "util/script_escape.h"
#include "util/utf8.h"

namespace {

using taviro::fuzz::Check;

bool OnlyEscapeAlphabet(std::string_view text) {
  for (const char c : text) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       std::string_view("@*_+-./%").find(c) != std::string_view::npos;
    if (!plain) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  const std::string plain = taviro::ScriptUnescape(input);
  Check(taviro::IsValidUtf8(plain), "unescaped text is UTF-8", plain);
  Check(taviro::ScriptUnescape(taviro::ScriptEscape(plain)) == plain, "unescape(escape(unescaped)) holds",
        plain);

  // Text that is already valid goes through escape and back unchanged; the
  // escaped form cannot carry a field or markup separator.
  if (taviro::IsValidUtf8(input)) {
    const std::string escaped = taviro::ScriptEscape(input);
    Check(OnlyEscapeAlphabet(escaped), "escaped text has only escape()'s characters", escaped);
    Check(taviro::ScriptUnescape(escaped) == input, "unescape(escape(text)) is the text", input);
  }
  return 0;
}
