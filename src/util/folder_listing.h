#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace taviro {

// Collects the names of the ordinary files in `folder` that match the
// wildcard `pattern` ("*" any run, "?" one character, letters in either case;
// "*.*" matches every name), in the order the file system lists them.
// Folders and hidden (dot) files are left out. Returns true and replaces
// `names` when at least one file matched; otherwise returns false and leaves
// `names` as it was.
bool ListFolderFiles(const std::filesystem::path& folder, std::vector<std::string>& names,
                     std::string_view pattern);

// The wildcard test used above, on whole names.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

}  // namespace taviro
