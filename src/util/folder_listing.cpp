#include "util/folder_listing.h"

#include <utility>

#include "util/utf8.h"

namespace taviro {
namespace {

char32_t FoldCase(char32_t c) { return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c; }

// Greedy wildcard match with one backtrack point: linear for patterns with a
// single "*", and never exponential.
bool Matches(std::u32string_view name, std::u32string_view pattern) {
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t star = std::u32string_view::npos;
  std::size_t star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == U'*') {
      star = p++;
      star_name = n;
    } else if (p < pattern.size() && (pattern[p] == U'?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::u32string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

bool IsOrdinaryFile(const std::filesystem::directory_entry& entry) {
  std::error_code error;
  return entry.is_regular_file(error);  // follows links: a link to a file counts
}

}  // namespace

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
  // Windows lets "*.*" stand for every name, with or without a dot.
  if (pattern == "*.*") return true;
  return Matches(DecodeUtf8(name), DecodeUtf8(pattern));
}

bool ListFolderFiles(const std::filesystem::path& folder, std::vector<std::string>& names,
                     std::string_view pattern) {
  std::vector<std::string> found;
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  // An unreadable folder, like an entry that vanishes while we look, simply
  // contributes no names.
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    const std::string name = entries->path().filename().string();
    if (name.starts_with('.') || !IsOrdinaryFile(*entries) || !MatchesWildcard(name, pattern)) {
      continue;
    }
    found.push_back(name);
  }
  if (found.empty()) return false;
  names = std::move(found);
  return true;
}

}  // namespace taviro
