#pragma once

#include <string>

namespace taviro::helper {

// What writes cut short (a kill) left behind, for the helper that starts on
// an installation: temporaries of its two files in `files_folder` and of the
// ranges lists in `save_folder`. Partial downloads and their lists stay, to
// be resumed.
void RemoveHelperWriteLeftovers(const std::string& files_folder, const std::string& save_folder);

}  // namespace taviro::helper
