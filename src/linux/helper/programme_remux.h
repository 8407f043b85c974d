#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace taviro::helper {

// MP4 plays everywhere and, with its index first, starts at once from a
// slow disk or a share; codecs MP4 cannot hold go into Matroska, which
// holds any.
enum class SavedContainer { kMp4, kMatroska };

const char* SavedExtension(SavedContainer container);

// A stretch of the partial file that one demuxer reads: the picture's
// pieces, or the sound's kept after them. An end of 0 is the file's end.
struct RemuxSource {
  std::int64_t begin = 0;
  std::int64_t end = 0;
  bool fragmented_mp4 = false;  // an initialisation section comes first
};

// The programme's concatenated segments (MPEG-TS, or fragmented MP4 with its
// initialisation section first) in the stretches of `input_fd`, remuxed
// together without re-encoding into the file `create_output` makes for the
// container the codecs allow (a descriptor the caller keeps, -1 when it
// cannot). Nothing, saying why, when it failed or `stopped` said so.
std::optional<SavedContainer> RemuxProgramme(int input_fd, const std::vector<RemuxSource>& sources,
                                             const std::function<int(SavedContainer)>& create_output,
                                             const std::function<bool()>& stopped, bool debug,
                                             std::string& error);

}  // namespace taviro::helper
