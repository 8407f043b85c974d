#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taviro::library {

struct FoundFile {
  std::string
      relative_path;  // UTF-8, '/'-separated, under one library folder: "Show/Season 1/Show S01E02.mkv"
};

struct Episode {
  std::size_t file = 0;  // index into the input vector
  std::optional<int> season;
  int number = 0;  // the parsed number, or the 1-based position in natural order when the name has none
};

struct Title {
  enum class Kind { kFilm, kSeries };
  Kind kind = Kind::kFilm;
  std::string name;  // display title
  std::optional<int> year;
  std::string folder;  // relative folder the title comes from ("" for a film lying at the root)
  std::vector<Episode>
      episodes;  // a film has exactly one; a series in play order (season, number, then natural order)
};

// Every file that is not an extra lands in exactly one title. Titles come
// in the byte order of their folders.
std::vector<Title> GroupTitles(const std::vector<FoundFile>& files);

// True for samples, trailers and whatever lies in an extras folder
// ("Extras/", "Featurettes/", "Behind The Scenes/"…): GroupTitles leaves
// these out.
bool IsExtraPath(std::string_view relative_path);

// A file name without its extension; a name without one stays whole.
std::string_view StemOf(std::string_view file_name);

}  // namespace taviro::library
