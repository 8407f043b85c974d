#include "library/library_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "library/library_titles.h"

namespace taviro::catalogue {
namespace {

std::string Extension(const std::string& relative) {
  const std::size_t slash = relative.rfind('/');
  const std::size_t dot = relative.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string extension = relative.substr(dot);
  // Only a short plain extension goes into the address.
  const bool plain = extension.size() <= 6 && std::all_of(extension.begin() + 1, extension.end(), [](char c) {
                       return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
                     });
  return plain ? extension : std::string();
}

std::string Stem(const std::string& relative) {
  const std::size_t slash = relative.rfind('/');
  std::string name = slash == std::string::npos ? relative : relative.substr(slash + 1);
  const std::string extension = Extension(name);
  return name.substr(0, name.size() - extension.size());
}

std::string DurationText(double seconds) {
  const long total = std::lround(seconds);
  char text[32];
  if (total >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  }
  return text;
}

// A line under the title: how long, how sharp, where from.
std::string Summary(const library::Title& title, const IndexedFile& first, const std::string& root) {
  std::string summary;
  if (first.facts.duration_seconds > 0) summary += DurationText(first.facts.duration_seconds) + " · ";
  if (first.facts.width > 0) {
    summary += std::to_string(first.facts.width) + "×" + std::to_string(first.facts.height) + " · ";
  }
  return summary + root + (title.folder.empty() ? "" : "/" + title.folder);
}

std::string SourceName(std::optional<int> season) {
  return season ? "第" + std::to_string(*season) + "季" : std::string("本地文件");
}

std::string EpisodeName(const library::Title& title, const library::Episode& episode,
                        const IndexedFile& file) {
  if (title.kind == library::Title::Kind::kFilm) return Stem(file.relative_utf8);
  return "第" + std::to_string(episode.number) + "集";
}

LibraryTitle MakeTitle(const library::Title& title, const LibraryFolder& folder,
                       const TitleIdSource& title_id) {
  LibraryTitle made;
  Series& series = made.series;
  series.id = title_id(folder.root + "\n" + title.folder + "\n" + title.name);
  series.title = title.name;
  series.year = title.year.value_or(0);
  series.area = "本地";
  series.genre = title.kind == library::Title::Kind::kFilm ? "电影" : "剧集";
  series.poster = {"#3a4a5c", "#1c2530", title.name.empty() ? std::string("?") : title.name.substr(0, 1)};
  for (const library::Episode& episode : title.episodes) {
    const IndexedFile& file = folder.files[episode.file];
    const std::string source_name = SourceName(episode.season);
    if (series.sources.empty() || series.sources.back().name != source_name) {
      series.sources.push_back({source_name, "qvod", {}});
    }
    series.sources.back().episodes.push_back({EpisodeName(title, episode, file), LibraryMediaName(file)});
    made.newest_mtime = std::max(made.newest_mtime, file.mtime);
  }
  made.episode_count = title.episodes.size();
  const IndexedFile& first = folder.files[title.episodes.front().file];
  made.first_file = first.id;
  series.summary = Summary(title, first, folder.root);
  if (const auto picture = folder.pictures.find(title.folder); picture != folder.pictures.end()) {
    made.picture = picture->second;
  }
  return made;
}

}  // namespace

bool KnownUnchanged(const IndexedFile& known, const FoundMedia& found) {
  return known.size == found.size && known.mtime == found.mtime;
}

std::string LibraryMediaName(const IndexedFile& file) {
  return "library/" + std::to_string(file.id) + Extension(file.relative_utf8);
}

std::vector<LibraryTitle> BuildLibraryTitles(const std::vector<LibraryFolder>& folders,
                                             const TitleIdSource& title_id) {
  std::vector<LibraryTitle> titles;
  for (const LibraryFolder& folder : folders) {
    std::vector<library::FoundFile> found;
    found.reserve(folder.files.size());
    for (const IndexedFile& file : folder.files) found.push_back({file.relative_utf8});
    for (const library::Title& title : library::GroupTitles(found)) {
      if (title.episodes.empty()) continue;
      titles.push_back(MakeTitle(title, folder, title_id));
    }
  }
  std::stable_sort(titles.begin(), titles.end(), [](const LibraryTitle& a, const LibraryTitle& b) {
    return a.newest_mtime > b.newest_mtime;
  });
  return titles;
}

}  // namespace taviro::catalogue
