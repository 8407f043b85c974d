#pragma once

#include <string>
#include <string_view>

namespace taviro::helper {

// What writes cut short (a kill) left behind, for the helper that starts on
// an installation: temporaries of its two files in `files_folder`, and of
// the ranges lists and of programmes being remuxed in `save_folder`.
// Partial downloads and their lists stay, to be resumed.
void RemoveHelperWriteLeftovers(const std::string& files_folder, const std::string& save_folder);

// The hidden file a programme is remuxed into before it takes its name.
std::string RemuxTemporaryName(std::string_view saved_name);

}  // namespace taviro::helper
