#include "app/command_line_files.h"

#include <initializer_list>
#include <optional>
#include <system_error>

#include "app/command_line_handoff.h"
#include "app/hand_off_paths.h"
#include "app/open_local_files.h"
#include "playback/status_strip.h"
#include "util/path_names.h"
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

bool StartsWith(const char* text, std::string_view prefix) {
  return text != nullptr && std::string_view(text).substr(0, prefix.size()) == prefix;
}

// The first of the variables that is set and not empty, as the C library
// picks the messages' locale.
const char* FirstSet(std::initializer_list<const char*> values) {
  for (const char* value : values) {
    if (value != nullptr && *value != '\0') return value;
  }
  return nullptr;
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

bool ChineseMessages(const char* lc_all, const char* lc_messages, const char* lang) {
  return StartsWith(FirstSet({lc_all, lc_messages, lang}), "zh");
}

std::string RefusedFileLine(const RefusedFile& file, bool chinese) {
  if (chinese) {
    return "taviro: " + file.path +
           (file.problem == FileProblem::kFolder ? "：是文件夹，不能播放\n" : "：文件不存在\n");
  }
  return "taviro: " + file.path +
         (file.problem == FileProblem::kFolder ? ": is a folder, not a media file\n" : ": no such file\n");
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
