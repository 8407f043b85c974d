#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "util/unique_fd.h"

namespace taviro {

enum class LinkRule { kFollow, kRefuse };

// The bytes of a regular file of at most `largest` bytes; nothing for
// anything else (a FIFO or device never holds the caller up), for a link
// when links are refused, or for a larger file, sparse or not.
std::optional<std::string> ReadSmallFile(const std::filesystem::path& path, std::int64_t largest,
                                         LinkRule links);

// The folder `name` in `parent`, made when missing and opened without
// following a link in its place; invalid unless it belongs to this user.
UniqueFd OpenOwnFolder(const std::filesystem::path& parent, const std::string& name);

// A new file `name` in the open folder, never one that was there (a link
// included) and never through a link.
UniqueFd CreateNewFileIn(const UniqueFd& folder, const std::string& name);
// Removes `name` from the open folder; a name already gone is what was wanted.
void RemoveFileIn(const UniqueFd& folder, const std::string& name);

// The extended attribute `note` of the regular file at `path`, reached
// without following a link; nothing when there is none.
std::optional<std::string> FileNote(const std::filesystem::path& path, const char* note);

}  // namespace taviro
