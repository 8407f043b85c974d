#include "library/library_titles.h"

#include <algorithm>
#include <climits>
#include <map>
#include <unordered_map>

#include "library/media_name.h"
#include "library/natural_order.h"
#include "util/utf8.h"

namespace taviro::library {
namespace {

std::vector<std::string_view> Components(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      if (i > start && path.substr(start, i - start) != ".") parts.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

// Lower case without blanks or punctuation, to compare names as people read
// them ("Behind The Scenes" and "behind_the_scenes" alike).
std::string Squashed(std::string_view name) {
  std::string out;
  for (const char c : name) {
    if (c >= 'A' && c <= 'Z') {
      out += static_cast<char>(c - 'A' + 'a');
    } else if (std::string_view(" ._-'").find(c) == std::string_view::npos) {
      out += c;
    }
  }
  return out;
}

bool IsExtrasFolder(std::string_view name) {
  static constexpr std::string_view kFolders[] = {
      "extras",     "extra",  "featurettes", "featurette", "behindthescenes", "deletedscenes",
      "interviews", "scenes", "shorts",      "trailers",   "trailer",         "samples",
      "sample",     "bonus",  "others",      "花絮",       "预告片",          "makingof"};
  const std::string squashed = Squashed(name);
  return std::find(std::begin(kFolders), std::end(kFolders), squashed) != std::end(kFolders);
}

// Each folder's name is read once, however many files lie below it.
class FolderNames {
 public:
  const MediaName& Of(std::string_view name) {
    auto [at, added] = names_.try_emplace(name);
    if (added) at->second = ParseMediaName(name);
    return at->second;
  }

 private:
  std::unordered_map<std::string_view, MediaName> names_;
};

// "Season 2", "S02", "第二季", "Show Season 2" inside "Show", "Specials".
std::optional<int> SeasonFolder(std::string_view name, std::string_view parent, FolderNames& names) {
  const std::string squashed = Squashed(name);
  if (squashed == "specials" || squashed == "special" || squashed == "sp" || squashed == "特别篇" ||
      squashed == "番外") {
    return 0;
  }
  const MediaName& parsed = names.Of(name);
  if (parsed.season && (parsed.title.empty() || Squashed(parsed.title) == Squashed(names.Of(parent).title))) {
    return parsed.season;
  }
  return std::nullopt;
}

struct Found {
  std::size_t index = 0;
  std::string_view path;
  MediaName name;
  std::optional<int> folder_season;  // the season its folder names
  bool in_season_folder = false;
};

using Group = std::vector<Found>;

// The number a title ends in, as in "Show 03" or "庆余年02", for episodes
// named by nothing else.
std::optional<int> TrailingNumber(std::string_view title) {
  std::size_t start = title.size();
  while (start > 0 && title[start - 1] >= '0' && title[start - 1] <= '9') --start;
  const std::size_t digits = title.size() - start;
  if (digits == 0 || digits > 4) return std::nullopt;
  if (start > 0 && title[start - 1] != ' ' && static_cast<unsigned char>(title[start - 1]) < 0x80)
    return std::nullopt;
  int value = 0;
  for (const char c : title.substr(start)) value = value * 10 + (c - '0');
  return value;
}

std::string LastComponent(std::string_view folder) {
  return std::string(folder.substr(folder.rfind('/') + 1));
}

// A name that is nothing but tags ("[1080p]") still names its title: the
// name itself, its brackets and dots as blanks.
std::string PlainName(std::string_view name) {
  std::u32string plain;
  for (const char32_t c : DecodeUtf8(name)) {
    const bool blank = std::u32string_view(U"[]【】._ ").find(c) != std::u32string_view::npos;
    if (!blank) {
      plain += c;
    } else if (!plain.empty() && plain.back() != U' ') {
      plain += U' ';
    }
  }
  if (!plain.empty() && plain.back() == U' ') plain.pop_back();
  return EncodeUtf8(plain);
}

Title Film(const Found& file, std::string_view folder, bool name_from_folder) {
  Title title;
  title.name = file.name.title;
  title.year = file.name.year;
  title.folder = folder;
  // A folder named with its year ("Heat (1995)/heat.mkv") names its film
  // better than a release's abbreviated file name.
  if (!folder.empty() && name_from_folder) {
    const MediaName by_folder = ParseMediaName(LastComponent(folder));
    if (title.name.empty() || (by_folder.year && !by_folder.title.empty())) {
      title.name = by_folder.title;
      title.year = by_folder.year ? by_folder.year : title.year;
    }
  }
  if (title.name.empty()) title.name = PlainName(StemOf(LastComponent(file.path)));
  title.episodes.push_back({file.index, file.name.season, file.name.episode.value_or(1)});
  return title;
}

// Specials after every numbered season; episodes without a season with
// the first.
int SeasonRank(std::optional<int> season) {
  if (!season) return 1;
  return *season == 0 ? INT_MAX : *season;
}

Title Series(const Group& files, std::string_view folder) {
  Title title;
  title.kind = Title::Kind::kSeries;
  title.folder = folder;
  if (!folder.empty()) {
    MediaName by_folder = ParseMediaName(LastComponent(folder));
    title.name = std::move(by_folder.title);
    title.year = by_folder.year;
  }
  for (const Found& file : files) {
    if (title.name.empty()) title.name = file.name.title;
    if (!title.year) title.year = file.name.year;
  }
  if (title.name.empty()) {
    title.name =
        PlainName(folder.empty() ? StemOf(LastComponent(files.front().path)) : LastComponent(folder));
  }
  std::map<std::optional<int>, int> positions;
  for (const Found& file : files) {
    const std::optional<int> season = file.name.season ? file.name.season : file.folder_season;
    const int position = ++positions[season];
    std::optional<int> number = file.name.episode;
    if (!number) number = TrailingNumber(file.name.title);
    title.episodes.push_back({file.index, season, number.value_or(position)});
  }
  std::stable_sort(title.episodes.begin(), title.episodes.end(), [](const Episode& a, const Episode& b) {
    const int rank_a = SeasonRank(a.season);
    const int rank_b = SeasonRank(b.season);
    return rank_a != rank_b ? rank_a < rank_b : a.number < b.number;
  });
  return title;
}

// Several files each with its own year and no episode marks are films
// that share a folder ("Films/Heat (1995).mkv", "Films/Alien (1979).mkv").
bool AreDistinctFilms(const Group& files) {
  std::vector<std::string> names;
  for (const Found& file : files) {
    if (file.in_season_folder || file.name.season || file.name.episode || !file.name.year) return false;
    names.push_back(Squashed(file.name.title) + std::to_string(*file.name.year));
  }
  std::sort(names.begin(), names.end());
  return std::adjacent_find(names.begin(), names.end()) == names.end();
}

// Files at the root of a library folder: those named as episodes of the
// same title make a series, every other one is a film.
void GroupRoot(const Group& files, std::vector<Title>& titles) {
  std::map<std::string, Group> by_title;
  for (const Found& file : files) {
    if (file.name.season || file.name.episode) {
      by_title[Squashed(file.name.title)].push_back(file);
    } else {
      titles.push_back(Film(file, "", false));
    }
  }
  for (const auto& [key, group] : by_title) {
    if (group.size() == 1) {
      titles.push_back(Film(group.front(), "", false));
    } else {
      titles.push_back(Series(group, ""));
    }
  }
}

void GroupFolder(const std::string& folder, const Group& files, std::vector<Title>& titles) {
  const bool seasons =
      std::any_of(files.begin(), files.end(), [](const Found& f) { return f.in_season_folder; });
  if (files.size() == 1 && !seasons) {
    titles.push_back(Film(files.front(), folder, true));
  } else if (AreDistinctFilms(files)) {
    for (const Found& file : files) titles.push_back(Film(file, folder, false));
  } else {
    titles.push_back(Series(files, folder));
  }
}

}  // namespace

std::string_view StemOf(std::string_view file_name) {
  const std::size_t dot = file_name.rfind('.');
  if (dot == std::string_view::npos || dot == 0 || file_name.size() - dot - 1 > 5) return file_name;
  const std::string_view extension = file_name.substr(dot + 1);
  const auto alnum = [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  };
  const bool letter =
      std::any_of(extension.begin(), extension.end(), [&](char c) { return alnum(c) && c > '9'; });
  if (extension.empty() || !letter || !std::all_of(extension.begin(), extension.end(), alnum))
    return file_name;
  return file_name.substr(0, dot);
}

bool IsExtraPath(std::string_view relative_path) {
  const std::vector<std::string_view> parts = Components(relative_path);
  if (parts.empty()) return false;
  return std::any_of(parts.begin(), parts.end() - 1, IsExtrasFolder) ||
         ParseMediaName(StemOf(parts.back())).extra;
}

std::vector<Title> GroupTitles(const std::vector<FoundFile>& files) {
  std::map<std::string, Group> groups;
  FolderNames names;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string_view path = files[i].relative_path;
    std::vector<std::string_view> parts = Components(path);
    if (!parts.empty() && std::any_of(parts.begin(), parts.end() - 1, IsExtrasFolder)) continue;
    Found found{i, path, ParseMediaName(parts.empty() ? path : StemOf(parts.back())), std::nullopt, false};
    if (found.name.extra) continue;
    if (!parts.empty()) parts.pop_back();
    if (parts.size() >= 2) {
      found.folder_season = SeasonFolder(parts.back(), parts[parts.size() - 2], names);
      found.in_season_folder = found.folder_season.has_value();
      if (found.in_season_folder) parts.pop_back();
    }
    if (!found.in_season_folder && !parts.empty()) found.folder_season = names.Of(parts.back()).season;
    std::string folder;
    for (const std::string_view part : parts) {
      if (!folder.empty()) folder += '/';
      folder += part;
    }
    groups[folder].push_back(std::move(found));
  }
  std::vector<Title> titles;
  for (auto& [folder, group] : groups) {
    std::sort(group.begin(), group.end(),
              [](const Found& a, const Found& b) { return NaturalLess(a.path, b.path); });
    if (folder.empty()) {
      GroupRoot(group, titles);
    } else {
      GroupFolder(folder, group, titles);
    }
  }
  return titles;
}

}  // namespace taviro::library
