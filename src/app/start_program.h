#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace taviro {

class MediaLists;
class Prompt;
class UriLauncher;

inline constexpr const char* kNoPlayerQuestion =
    "程序检测到您的电脑未安装快播(Qvod)播放器，是否要下载Qvod播放器？";

struct StartProgramEnv {
  std::filesystem::path app_folder;
  Prompt& prompt;
  UriLauncher& launcher;
  MediaLists& lists;
  // Whether the player can be created on this machine.
  std::function<bool()> player_available;
  // The installation identity, asked for only when one must be written.
  std::function<std::string()> make_identity;
  std::string player_download_url;
};

enum class StartOutcome { kShowWindow, kEnd };

// Everything before the main window: the player check, the settings file
// created or repaired, the list files and their pages created when missing.
StartOutcome StartProgram(const StartProgramEnv& env);

}  // namespace taviro
