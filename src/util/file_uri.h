#pragma once

#include <filesystem>
#include <string>

namespace taviro {

// A file: address for a local path, with every byte that is not allowed
// as it stands in a path percent-encoded, so blanks, "#" and "?" in folder
// names survive.
std::string FileUri(const std::filesystem::path& path);

}  // namespace taviro
