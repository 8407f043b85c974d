#pragma once

#include <functional>

namespace taviro {

struct MainWindow;
struct PlaybackContext;
class ProcessTable;

inline constexpr const char* kVendorPlayerProgram = "QvodPlayer.exe";
inline constexpr const char* kDownloadHelperProgram = "QvodTerminal.exe";

// The one-shot vendor check (Timer3, after it has disabled itself): a
// running vendor player gives away the installation folder and is ended
// unless qvodqi is "1"; the download helper is started when none runs; the
// folder found is kept in TerminalFolder and written as qvodw. Without a
// vendor process to tell it, the folder is the application folder's Qvod/,
// where the installation puts the helper.
void OnTimer3(PlaybackContext& context);

// What the composition root does at the end of the quit routine.
struct QuitHooks {
  std::function<void()> close_windows;
  // Shows the promotion window when the switch file asked for it, else ends
  // the run.
  std::function<void()> finish_run;
};

// The quit routine (ttt_v): the tray icon goes, the item playing is stopped
// (its position stored), the vendor processes are ended when qvodk is 2,
// and the windows close.
void ttt_v(MainWindow& window, ProcessTable& processes, const QuitHooks& hooks);

}  // namespace taviro
