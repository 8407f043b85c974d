#include "app/program_arguments.h"

#include "ui/main/main_window.h"

namespace taviro {

ProgramArguments ParseProgramArguments(const std::vector<std::string>& arguments) {
  ProgramArguments parsed;
  bool options = true;
  for (const std::string& argument : arguments) {
    if (options && argument == "--") {
      options = false;
    } else if (options && (argument == "--help" || argument == "-h")) {
      return {ProgramAction::kShowHelp, {}};
    } else if (options && argument == "--version") {
      return {ProgramAction::kShowVersion, {}};
    } else {
      parsed.paths.push_back(argument);
    }
  }
  return parsed;
}

std::string HelpText() {
  return "用法: taviro [选项] [文件...]\n"
         "Taviro 视频盒子：浏览视频目录，播放在线视频和本地影音文件。\n"
         "\n"
         "  文件...      播放第一个文件，全部加入本地文件列表；\n"
         "               Taviro 已在运行时交给运行中的窗口\n"
         "  -h, --help   显示本帮助并退出\n"
         "  --version    显示版本并退出\n"
         "  --           其后的参数都是文件\n"
         "\n"
         "设置和列表保存在程序所在的文件夹；该文件夹不可写时保存在\n"
         "$XDG_DATA_HOME/taviro/（默认 ~/.local/share/taviro/）。\n";
}

std::string VersionText() { return std::string(kProductName) + " " + std::string(kProductVersion) + "\n"; }

}  // namespace taviro
