#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace taviro::helper {

// How far a programme's partial file got: its first `pieces_done` pieces
// (segments and initialisation sections) fill its first `bytes` bytes.
// Anything after those bytes is from a piece not known to be whole.
struct ProgrammeProgress {
  std::string source;
  std::int64_t pieces_total = 0;
  std::int64_t pieces_done = 0;
  std::int64_t bytes = 0;
  // Where the sound's own pieces begin, once they have (a programme whose
  // sound is a rendition of its own keeps it after the picture).
  std::optional<std::int64_t> audio_at;
};

// "programme TOTAL", "source KEY", "done PIECES BYTES" and "audio BYTES"
// once there is sound apart; a file of another form (a file's ranges list)
// is not one.
std::string FormatProgrammeProgress(const ProgrammeProgress& progress);
std::optional<ProgrammeProgress> ParseProgrammeProgress(std::string_view text);

}  // namespace taviro::helper
