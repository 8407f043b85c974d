#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace taviro {

// The encodings subtitle files come in for this program's users.
enum class TextEncoding { kUtf8, kUtf16Le, kUtf16Be, kGb18030, kBig5 };

// A byte-order mark decides; then text that is valid UTF-8 is UTF-8, text
// with NULs in every other byte is UTF-16, and double-byte text is GB18030
// or Big5 by which of the two puts more of its characters among that
// encoding's common ones (both decode most byte pairs as some character).
TextEncoding GuessTextEncoding(std::string_view bytes);

// The file's text as UTF-8 without a byte-order mark.
std::string SubtitleTextAsUtf8(std::string_view bytes);

// Whether `name` is a subtitle file that belongs to the video `video_name`
// (both bare file names): the video's name without its extension, then
// optionally a tag such as ".chs" or ".zh", then .srt, .ass, .ssa or .vtt.
bool IsSidecarSubtitle(std::string_view video_name, std::string_view name);

// The subtitle files of `video_name` among `names`, in the order they are
// offered: the untagged one, then Chinese tags, then the rest by name.
std::vector<std::string> SidecarSubtitles(std::string_view video_name, std::vector<std::string> names);

}  // namespace taviro
