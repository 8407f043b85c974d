#include "app/command_line_files.h"

#include <optional>
#include <system_error>

#include "app/command_line_handoff.h"
#include "app/hand_off_paths.h"
#include "app/open_local_files.h"
#include "playback/status_strip.h"
#include "util/path_names.h"
#include "util/translate.h"
#include "window/main_window.h"
#include "window/tray_controller.h"

namespace taviro {
namespace {

// `path` as the player would get it; addresses are not ours to look for.
std::optional<FileProblem> ProblemOf(const std::string& path) {
  if (path.empty() || path.find("://") != std::string::npos) return std::nullopt;
  std::error_code error;  // a path that cannot be looked at counts as missing
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::directory) return FileProblem::kFolder;
  if (!std::filesystem::exists(status)) return FileProblem::kMissing;
  return std::nullopt;
}

}  // namespace

ScreenedCommandLine ScreenCommandLine(const std::string& command_line,
                                      const std::filesystem::path& working_folder) {
  ScreenedCommandLine screened;
  const std::vector<std::string> paths = SplitHandOffPaths(command_line);
  if (paths.size() <= 1) {
    if (const auto problem = ProblemOf(CommandLinePathIn(command_line, working_folder))) {
      screened.refused.push_back({command_line, *problem});
    } else {
      screened.command_line = command_line;
    }
    return screened;
  }
  std::vector<std::string> kept;
  for (const std::string& path : paths) {
    if (const auto problem = ProblemOf(PathIn(path, working_folder))) {
      screened.refused.push_back({path, *problem});
    } else {
      kept.push_back(path);
    }
  }
  screened.command_line = JoinHandOffPaths(kept);
  return screened;
}

std::string RefusedFileLine(const RefusedFile& file) {
  return "taviro: " + file.path +
         Tr(file.problem == FileProblem::kFolder ? N_("：是文件夹，不能播放\n") : N_("：文件不存在\n"));
}

std::string RefusedFileNotice(const RefusedFile& file) {
  if (file.problem == FileProblem::kFolder) return std::string(kFolderRefusedText);
  return "文件不存在：" + FileNameOf(file.path);
}

void ShowRefusedFiles(MainWindow& window, const std::vector<RefusedFile>& refused) {
  if (refused.empty()) return;
  std::string text;
  for (const RefusedFile& file : refused) {
    if (!text.empty()) text += ' ';
    text += RefusedFileNotice(file);
  }
  SetStatusText(window, RefusedFileNotice(refused.front()));
  ShowBalloon(window.ports.tray, text);
}

}  // namespace taviro
