#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taviro {

// A "qvod://" size "|" hash "|" name "|" link: a file the service seeds.
struct QvodLink {
  std::int64_t size = 0;
  std::string hash;
  std::string name;  // unescaped
};

inline constexpr std::string_view kQvodScheme = "qvod://";

// Nothing unless the address has the scheme, a size that is a number and a
// hash and name that are not empty.
std::optional<QvodLink> ParseQvodLink(std::string_view address);
std::string FormatQvodLink(const QvodLink& link);

inline constexpr std::size_t kLongestSavedName = 200;

// A name that stays inside the save folder when appended to it: not empty,
// no "/", no NUL or other control character, not "." or "..", not hidden,
// at most 200 bytes (room for the suffixes below).
bool IsSafeFileName(std::string_view name);

// The name the download helper saves a network address under: a qvod link's
// name, or the last segment of an http(s) address's path with its %XX forms
// decoded. Empty when the address names no file or the name is not safe.
std::string MediaFileName(std::string_view address);

// A programme's file named from what the catalogue calls it: path
// separators become "-", control characters go, leading dots and blanks
// go, and the name is cut (on a character) to leave room for a number and
// the helper's suffixes. Empty when nothing of the title is left.
std::string TitledProgrammeName(std::string_view title);

// While an item downloads it lives in name + kPartialSuffix, with the byte
// ranges already there listed in name + kRangesSuffix; the finished file is
// renamed to the name itself.
inline constexpr std::string_view kPartialSuffix = ".part";
inline constexpr std::string_view kRangesSuffix = ".part.ranges";

// The extended attribute the helper notes on each file it makes: the key
// of the item the file is for, whatever name the file was given.
inline constexpr const char* kSourceNote = "user.taviro.source";

// Every file the helper may have made for `name`, final name first.
std::vector<std::string> DownloadFilesOf(std::string_view name);

}  // namespace taviro
