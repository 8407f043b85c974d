#include "app/program_arguments.h"

#include "util/translate.h"
#include "window/main_window.h"

namespace taviro {
namespace {

bool LooksLikeOption(const std::string& argument) { return argument.size() > 1 && argument.front() == '-'; }

std::string UsageLine() { return Tr(N_("用法: taviro [选项] [文件...]\n")); }

}  // namespace

ProgramArguments ParseProgramArguments(const std::vector<std::string>& arguments) {
  ProgramArguments parsed;
  bool options = true;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (options && argument == "--library") {
      if (i + 1 == arguments.size()) return {ProgramAction::kBadOption, {}, argument, {}};
      parsed.library_folders.push_back(arguments[++i]);
    } else if (options && argument == "--") {
      options = false;
    } else if (options && (argument == "--help" || argument == "-h")) {
      return {ProgramAction::kShowHelp, {}, {}, {}};
    } else if (options && argument == "--version") {
      return {ProgramAction::kShowVersion, {}, {}, {}};
    } else if (options && LooksLikeOption(argument)) {
      return {ProgramAction::kBadOption, {}, argument, {}};
    } else {
      parsed.paths.push_back(argument);
    }
  }
  return parsed;
}

std::string HelpText() {
  return UsageLine() + Tr(N_("Taviro 视频盒子：浏览视频目录，播放在线视频和本地影音文件。\n"
                             "\n"
                             "  文件...      播放第一个文件，全部加入本地文件列表；\n"
                             "               Taviro 已在运行时交给运行中的窗口\n"
                             "  --library 文件夹\n"
                             "               影视库另外显示这个文件夹里的影片（可多次给出）\n"
                             "  -h, --help   显示本帮助并退出\n"
                             "  --version    显示版本并退出\n"
                             "  --           其后的参数都是文件\n"
                             "\n"
                             "设置和列表保存在程序所在的文件夹；该文件夹不可写时保存在\n"
                             "$XDG_DATA_HOME/taviro/（默认 ~/.local/share/taviro/）。\n"));
}

std::string VersionText() { return std::string(kProductName) + " " + std::string(kProductVersion) + "\n"; }

std::string NoDisplayText() {
  return Tr(N_("taviro: 无法打开图形显示。请在桌面会话中启动 Taviro（需要 DISPLAY 或 WAYLAND_DISPLAY）。\n"));
}

std::string BadOptionText(const std::string& option) {
  // The option is put in where the catalogue's text says.
  std::string what = Tr(N_("taviro: 未知选项 “%s”\n"));
  const std::size_t at = what.find("%s");
  if (at != std::string::npos) what.replace(at, 2, option);
  return what + UsageLine() + Tr(N_("运行 “taviro --help” 查看全部选项。\n"));
}

}  // namespace taviro
