#pragma once

#include <functional>
#include <optional>
#include <string>

namespace taviro::helper {

// MP4 plays everywhere and, with its index first, starts at once from a
// slow disk or a share; codecs MP4 cannot hold go into Matroska, which
// holds any.
enum class SavedContainer { kMp4, kMatroska };

const char* SavedExtension(SavedContainer container);

// The programme's concatenated segments (MPEG-TS, or fragmented MP4 with its
// initialisation section first) in `input_fd`, remuxed without re-encoding
// into the file `create_output` makes for the container the codecs allow
// (a descriptor the caller keeps, -1 when it cannot).
// Nothing, saying why, when it failed or `stopped` said so.
std::optional<SavedContainer> RemuxProgramme(int input_fd, bool fragmented_mp4,
                                             const std::function<int(SavedContainer)>& create_output,
                                             const std::function<bool()>& stopped, bool debug,
                                             std::string& error);

}  // namespace taviro::helper
