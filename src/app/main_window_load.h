#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace taviro {

struct MainWindow;
class InstanceChannel;

// The dark empty page the episode-list view starts with.
inline constexpr const char* kBlankEpisodePage =
    "<html><head><style type=\"text/css\">*{margin:0;padding:0;}body{overflow:auto;background:#212121;"
    "width:100%;}</style></head><body></body></html>";

struct MainWindowLoad {
  InstanceChannel& instances;
  // The whole command line, the arguments joined by single blanks, and the
  // folder the program was started from, in which a relative path is meant.
  std::string command_line;
  std::string working_folder;
  std::filesystem::path app_folder;
  // Plays a command-line path; empty until playback exists.
  std::function<void(const std::string&)> play_command_line;
  // The launcher's activation token, handed over with the command line.
  std::string activation_token = {};
};

enum class LoadOutcome { kRunning, kHandedOff };

// The main window's load handler: hands the command line to a running
// instance, or sizes the window from the settings, applies the skin, points
// every web view at its page and adds the tray icon. The service's views
// wait while its address is not known yet (the window's base URL is empty).
LoadOutcome LoadMainWindow(MainWindow& window, const MainWindowLoad& load);

// Points the views that show the service's pages at them, and the player's
// pause panel, under the window's base URL.
void LoadServiceViews(MainWindow& window);

}  // namespace taviro
