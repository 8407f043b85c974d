// Media file names from the user's folders: reading one never fails, a
// title never holds its file's extension or a bracketed tag, and grouping
// lists every file that is not an extra exactly once.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "library/library_titles.h"
#include "library/media_name.h"
#include "library/natural_order.h"
#include "property.h"
#include "util/utf8.h"

namespace {

using taviro::fuzz::Check;
namespace library = taviro::library;

bool HoldsBracket(std::string_view title) {
  return title.find_first_of("[]") != std::string_view::npos || title.find("【") != std::string_view::npos ||
         title.find("】") != std::string_view::npos;
}

void CheckName(std::string_view stem) {
  const library::MediaName name = library::ParseMediaName(stem);
  Check(taviro::IsValidUtf8(name.title), "a title is UTF-8", stem);
  Check(!HoldsBracket(name.title), "a title holds no bracket", stem);
  Check(name.title.empty() || (name.title.front() != ' ' && name.title.back() != ' '), "a title is trimmed",
        stem);
  Check(!name.year || (*name.year >= 1900 && *name.year <= 2099), "a year is 1900 to 2099", stem);
  Check(name.season.value_or(0) >= 0 && name.episode.value_or(0) >= 0, "numbers are not negative", stem);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  // One path a line, each given a media file's extension.
  std::vector<library::FoundFile> files;
  std::size_t start = 0;
  while (start <= input.size() && files.size() < 64) {
    const std::size_t end = std::min(input.find('\n', start), input.size());
    const std::string line = input.substr(start, end - start);
    CheckName(line);
    files.push_back({line + ".mkv"});
    start = end + 1;
  }
  std::vector<int> seen(files.size(), 0);
  for (const library::Title& title : library::GroupTitles(files)) {
    Check(!title.name.ends_with(".mkv") && !HoldsBracket(title.name), "a title holds no extension or bracket",
          title.name);
    Check(title.kind == library::Title::Kind::kSeries || title.episodes.size() == 1, "a film is one file",
          title.name);
    for (std::size_t i = 0; i < title.episodes.size(); ++i) {
      const library::Episode& episode = title.episodes[i];
      Check(episode.file < files.size(), "an episode is one of the files", title.name);
      ++seen[episode.file];
      if (i > 0 && title.episodes[i - 1].season == episode.season) {
        Check(title.episodes[i - 1].number <= episode.number, "a season plays in its order", title.name);
      }
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    const int expected = library::IsExtraPath(files[i].relative_path) ? 0 : 1;
    Check(seen[i] == expected, "every file but extras is listed once", files[i].relative_path);
  }
  for (std::size_t i = 0; i + 1 < files.size(); ++i) {
    const std::string& a = files[i].relative_path;
    const std::string& b = files[i + 1].relative_path;
    Check(!library::NaturalLess(a, a) && !(library::NaturalLess(a, b) && library::NaturalLess(b, a)),
          "natural order is strict", a + "\n" + b);
  }
  return 0;
}
