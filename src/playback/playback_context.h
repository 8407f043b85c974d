#pragma once

#include <filesystem>
#include <string>

#include "playback/now_playing.h"
#include "util/timer.h"

namespace taviro {

struct MainWindow;
class MediaChoices;
class MediaLists;
class TextFetcher;
class ProcessTable;
class ProgramLauncher;

// The window's timers that playback drives; other code enables and disables
// them, so they live beside the state they serve.
struct PlaybackTimers {
  Timer& Timer1;  // 1000 ms status poller, on at start
  Timer& Timer2;  // 2000 ms end of play, one-shot, off at start
  Timer& Timer4;  // 50000 ms next-episode retry, off at start
};

// What every playback handler works with: the window, the item playing, the
// lists, the service and the timers.
struct PlaybackContext {
  MainWindow& window;
  NowPlaying& now;
  MediaLists& lists;
  // The service's episode answers (h.asp), which come back on the main loop
  // later: the window never waits for them.
  TextFetcher& episodes;
  ProcessTable& processes;
  ProgramLauncher& launcher;
  PlaybackTimers timers;
  std::filesystem::path app_folder;  // with a trailing "/"
  // This installation's Qvod/ folder, beside the program, with a trailing
  // "/": where its download helper is, whether or not the folder that
  // keeps the settings (`app_folder`) is the program's own.
  std::string helper_folder;
  // An address no server answers; the play page goes there when an item ends.
  std::string sentinel_url;
  // Subtitles, tracks, speed and screenshots, once the player has them.
  MediaChoices* choices = nullptr;
};

}  // namespace taviro
