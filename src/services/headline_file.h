#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace taviro {

// At most this many entries of a service list are considered.
inline constexpr std::size_t kServiceListLimit = 51;

struct Headline {
  std::string text;
  std::string link;  // "*" or empty: no link
};

// "lib/gun.txt": entries "headline||link" joined by "$$$". Only the first
// 51 entries are considered; those without "||" are dropped, the rest keep
// their order. Line breaks around a headline or link are not part of it.
std::vector<Headline> ParseHeadlines(std::string_view text);

// Only web addresses leave the program from a headline; "*", an empty link
// and every other scheme open nothing.
bool OpensInBrowser(std::string_view link);

}  // namespace taviro
