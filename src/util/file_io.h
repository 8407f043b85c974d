#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taviro {

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// Replaces `path` with `bytes` through a temporary file in the same folder
// and a rename, so the old file stays whole until the new one is complete
// and on disk. Returns false (and leaves no temporary file) on any failure.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

struct FileContents {
  std::filesystem::path path;
  std::string bytes;
};

// Replaces each file as WriteFileAtomically does, but only once every new
// file is complete and on disk: when any cannot be written, none is
// replaced. Files that must agree change together, short of a failing
// rename in between.
bool WriteFilesTogether(const std::vector<FileContents>& files);

// The temporaries WriteFileAtomically leaves when the process dies between
// making one and renaming it: "." name "." and six letters or digits, beside
// each of `names` in `folder`. Removes them and returns how many went. Only
// for a process that alone writes those files: another one's write under way
// would lose its temporary.
int RemoveLeftoverTemporaries(const std::filesystem::path& folder,
                              const std::vector<std::string_view>& names);
// The same for every file name that `written_here` accepts, for a folder
// whose files are not known by name beforehand.
int RemoveLeftoverTemporaries(const std::filesystem::path& folder,
                              const std::function<bool(std::string_view name)>& written_here);

bool IsRegularFile(const std::filesystem::path& path);

// Splits text into lines the way a line reader does: a line
// ends at LF (an optional CR before it is dropped); a final line without a
// line end still counts; an empty text has no lines.
std::vector<std::string_view> SplitLines(std::string_view text);

inline constexpr std::string_view kCrLf = "\r\n";

}  // namespace taviro
