#include "util/translate.h"

#include <libintl.h>

namespace taviro {

const char* Tr(const char* text) {
  if (text == nullptr || *text == '\0') return text;  // "" would give the catalogue's header
  return dgettext(kTextDomain, text);
}

std::string Tr(const std::string& text) { return Tr(text.c_str()); }

}  // namespace taviro
