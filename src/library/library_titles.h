#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace taviro::library {

struct FoundFile {
  std::string relative_path;  // UTF-8, '/'-separated, under one library folder
};

struct Episode {
  std::size_t file = 0;  // index into the input
  std::optional<int> season;
  int number = 0;
};

struct Title {
  enum class Kind { kFilm, kSeries };
  Kind kind = Kind::kFilm;
  std::string name;
  std::optional<int> year;
  std::string folder;             // relative folder the title comes from
  std::vector<Episode> episodes;  // a film has exactly one; a series in play order
};

std::vector<Title> GroupTitles(const std::vector<FoundFile>& files);

}  // namespace taviro::library
