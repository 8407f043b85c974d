#pragma once

#include <string>

namespace taviro {

// The catalogue every on-screen and terminal text is looked up in.
inline constexpr const char* kTextDomain = "taviro";

// Marks a text for the catalogue where it is written; it is looked up (Tr)
// only where it reaches the screen, so files, pages and the service keep the
// Chinese text whatever the user's language.
constexpr const char* N_(const char* text) { return text; }

// The user's language's version of a Chinese text, or the text itself when
// the catalogue has none.
const char* Tr(const char* text);
std::string Tr(const std::string& text);

}  // namespace taviro
