#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace taviro {

// The name the download helper saves a network task under: the third part
// of its unescaped "qvod://size|hash|name|" address, itself unescaped.
// Empty for a task with any other kind of address. `record` is the task's
// line of date.dat.
std::string DownloadFileName(std::string_view record);

// The beginning the helper's files of that download share: the name without
// its extension, cut to half its length (rounded half to even) unless that
// would leave fewer than 3 characters. Empty when nothing would be matched
// safely (no name, or a name without extension).
std::string DownloadNamePrefix(std::string_view file_name);

// The names that begin with `prefix` (exact case), in their given order.
std::vector<std::string> NamesStartingWith(const std::vector<std::string>& names, std::string_view prefix);

// The question shown before those files are deleted.
std::string DeleteDownloadsQuestion(std::string_view folder, const std::vector<std::string>& names);

}  // namespace taviro
