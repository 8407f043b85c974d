#pragma once

#include <functional>
#include <string_view>

namespace taviro {

struct MainWindow;
struct PlaybackContext;
class ProcessTable;

inline constexpr const char* kVendorPlayerProgram = "QvodPlayer.exe";
inline constexpr const char* kDownloadHelperProgram = "QvodTerminal.exe";

// The one-shot vendor check (Timer3, after it has disabled itself): a
// vendor player running from this installation's Qvod/ folder gives that
// folder and is ended unless qvodqi is "1"; this installation's download
// helper is started when it does not run; the folder found is kept in
// TerminalFolder and written as qvodw. Processes of the same names run from
// elsewhere (another copy of the program) are neither counted nor ended.
void CheckVendorProcesses(PlaybackContext& context);

// What the composition root does at the end of the quit routine.
struct QuitHooks {
  std::function<void()> close_windows;
  // Shows the promotion window when the switch file asked for it, else ends
  // the run.
  std::function<void()> finish_run;
};

// The quit routine (QuitProgram): the tray icon goes, the item playing is stopped
// (its position stored), the vendor processes run from `vendor_folder`
// (TerminalFolder) are ended when qvodk is 2, and the windows close.
void QuitProgram(MainWindow& window, ProcessTable& processes, std::string_view vendor_folder,
                 const QuitHooks& hooks);

}  // namespace taviro
