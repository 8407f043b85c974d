#pragma once

#include <string_view>

namespace taviro {

// Where the program's own service serves the files of the user's media
// folders, under its base address.
inline constexpr std::string_view kOwnLibraryMediaFolder = "qvod/library/";

// Whether an address names a file of the user's own library, served by the
// program's own service: such a file already lies on this disk, so it plays
// straight from the service and the download helper never copies it.
bool IsOwnLibraryMedia(std::string_view address, std::string_view service_base);

}  // namespace taviro
