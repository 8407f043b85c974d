#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace taviro {

enum class ProgramAction { kRun, kShowHelp, kShowVersion };

struct ProgramArguments {
  ProgramAction action = ProgramAction::kRun;
  std::vector<std::string> paths;  // media files, in the order given
};

// --help (-h) and --version are the only options; "--" ends them, and every
// other argument is a media path, even one that starts with "-".
ProgramArguments ParseProgramArguments(const std::vector<std::string>& arguments);

std::string HelpText();
std::string VersionText();
// Printed when no display can be opened.
inline constexpr std::string_view kNoDisplayText =
    "taviro: 无法打开图形显示。请在桌面会话中启动 Taviro（需要 DISPLAY 或 WAYLAND_DISPLAY）。\n";
inline constexpr int kNoDisplayExitCode = 3;

}  // namespace taviro
