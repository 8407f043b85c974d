#include "app/open_local_files.h"

#include <filesystem>
#include <system_error>

#include "app/command_line_handoff.h"
#include "app/hand_off_paths.h"
#include "lists/media_lists.h"
#include "playback/playback_context.h"
#include "util/path_names.h"
#include "window/content_mode.h"
#include "window/main_window.h"
#include "window/mini_mode.h"
#include "window/npc_buttons.h"
#include "window/title_bar_commands.h"
#include "window/tray_controller.h"

namespace taviro {
namespace {

bool IsFolder(const std::string& path) {
  std::error_code error;  // a path that cannot be looked at is no folder: the player reports it
  return std::filesystem::is_directory(path, error);
}

}  // namespace

void OpenLocalFiles(PlaybackContext& context, const std::vector<std::string>& paths) {
  std::vector<std::string> files;
  for (const std::string& path : paths) {
    if (!path.empty() && !IsFolder(path)) files.push_back(path);
  }
  MainWindow& window = context.window;
  if (files.size() < paths.size()) ShowBalloon(window.ports.tray, kFolderRefusedText);
  if (files.empty()) return;

  if (window.model.mini_mode != MiniMode::kOff) JbiClick(window);
  ShowMainTab(window, MainTab::kPlayer);
  SetContentMode(window, ContentMode::kPlayer);
  // Each file goes on top of the list, so the later ones go first and the
  // one that plays ends on top.
  for (auto it = files.rbegin(); it + 1 != files.rend(); ++it) {
    context.lists.AddLocalFile(ShownNameOf(*it), *it, 0);
  }
  PlayLocalFile(context, files.front());
}

void OpenCommandLine(PlaybackContext& context, const std::string& text,
                     const std::filesystem::path& working_folder) {
  std::vector<std::string> paths = SplitHandOffPaths(text);
  if (paths.size() > 1) {
    for (std::string& path : paths) path = PathIn(path, working_folder);
    OpenLocalFiles(context, paths);
  } else if (!text.empty()) {
    PlayCommandLine(context, text, working_folder);
  }
}

}  // namespace taviro
