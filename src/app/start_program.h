#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "util/translate.h"

namespace taviro {

class MediaLists;
class PlayerProbe;
class Prompt;
class UriLauncher;

inline constexpr const char* kNoPlayerQuestion =
    N_("程序检测到您的电脑未安装快播(Qvod)播放器，是否要下载Qvod播放器？");
inline constexpr const char* kPlayerGoneNotice = N_("对不起，软件组件已被损坏，请重新下载安装本软件。");
inline constexpr const char* kPlayerDamagedNotice = N_("软件组件被损坏，重启软件即可恢复！");

struct StartProgramEnv {
  std::filesystem::path app_folder;
  Prompt& prompt;
  UriLauncher& launcher;
  MediaLists& lists;
  PlayerProbe& player;
  // The installation identity, asked for only when one must be written.
  std::function<std::string()> make_identity;
  std::string player_download_url;
  // This process holds the single-instance name: no other instance writes
  // into the folder, so temporaries left there by a killed one may go.
  bool owns_instance = false;
};

enum class StartOutcome { kShowWindow, kEnd };

// Everything before the main window: the player check, the temporaries of
// writes cut short removed (only by the instance that owns the name), the
// settings file created or repaired, missing list files created and every
// list page rendered again from its list.
// A player that cannot be made from a library that is not there ends the
// start with the offer of the download page; one whose library is there
// goes on to the window, whose own player then decides.
StartOutcome StartProgram(const StartProgramEnv& env);

// The temporaries of the program's own writes into the application folder
// (settings, lists, their pages, the episode-list page) and into the
// helper's two files that a killed process left behind.
void RemoveWriteLeftovers(const std::filesystem::path& app_folder);

// The window's own player could not be made: a notice, under the product's
// name, that the program must be installed again (the library has gone) or
// started again (it is there but failed), and the start ends. Nothing
// happens when the player was made.
StartOutcome CheckWindowPlayer(bool player_created, PlayerProbe& player, Prompt& prompt);

}  // namespace taviro
