// Stands in for the naming and grouping rules until they arrive: a folder of
// several files is a series in name order, a lone file a film.
#include <algorithm>
#include <map>

#include "library/library_titles.h"
#include "library/media_name.h"

namespace taviro::library {

MediaName ParseMediaName(std::string_view stem) { return MediaName{std::string(stem), {}, {}, {}, false}; }

std::vector<Title> GroupTitles(const std::vector<FoundFile>& files) {
  std::map<std::string, std::vector<std::size_t>> by_folder;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string& path = files[i].relative_path;
    const std::size_t slash = path.rfind('/');
    by_folder[slash == std::string::npos ? std::string() : path.substr(0, slash)].push_back(i);
  }
  std::vector<Title> titles;
  const auto stem = [](const std::string& path) {
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  };
  for (auto& [folder, members] : by_folder) {
    std::sort(members.begin(), members.end(), [&files](std::size_t a, std::size_t b) {
      return files[a].relative_path < files[b].relative_path;
    });
    if (members.size() == 1 || folder.empty()) {
      for (const std::size_t file : members) {
        titles.push_back({Title::Kind::kFilm, stem(files[file].relative_path), {}, folder, {{file, {}, 1}}});
      }
      continue;
    }
    Title series{Title::Kind::kSeries, stem(folder), {}, folder, {}};
    int number = 0;
    for (const std::size_t file : members) series.episodes.push_back({file, {}, ++number});
    titles.push_back(std::move(series));
  }
  return titles;
}

}  // namespace taviro::library
