#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace taviro {

struct PlaybackContext;

inline constexpr std::string_view kFolderRefusedText = "文件夹不能直接播放，请选择其中的影音文件。";

// Several files at once (a drop on the window, "Open with" on a selection,
// several arguments): each is played as a command-line file is. The window
// leaves mini mode and switches to the player, every file goes to the
// local-file list with the first on top, and the first plays. Folders are
// refused with one balloon; when nothing else is left, nothing changes.
void OpenLocalFiles(PlaybackContext& context, const std::vector<std::string>& paths);

// A start's command line, this one's own or a later start's: one path as
// PlayCommandLine plays it, several (a text from JoinHandOffPaths) as
// OpenLocalFiles does. Relative paths are taken in `working_folder`.
void OpenCommandLine(PlaybackContext& context, const std::string& text,
                     const std::filesystem::path& working_folder = {});

}  // namespace taviro
