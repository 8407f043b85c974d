#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "http/catalogue.h"

namespace taviro::demo {

// Episodes whose media reads "seed:FILE" are offered as "qvod://" links:
// the file's size, a hash that the service's "seed/" folder answers to, and
// a name of their own (series, episode) for the download. A file that is
// missing gets size 0.
Catalogue WithSeedLinks(Catalogue catalogue, const std::filesystem::path& media_folder);

// The hash a file is seeded under, and back; nothing for a hash that names
// no plain file name.
std::string SeedHash(std::string_view file_name);
std::optional<std::string> SeedFileName(std::string_view hash);

}  // namespace taviro::demo
