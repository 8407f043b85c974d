#include "playback/vendor_processes.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "playback/playback_context.h"
#include "ports/process_table.h"
#include "ports/program_launcher.h"
#include "ports/window_host.h"
#include "settings/settings.h"
#include "util/process_helpers.h"
#include "window/bo_but_buttons.h"
#include "window/main_window.h"
#include "window/tray_controller.h"

namespace taviro {
namespace {

// The folder the installation put the helper in, when it is there.
std::string InstalledHelperFolder(const PlaybackContext& context) {
  std::error_code error;
  if (context.helper_folder.empty() ||
      !std::filesystem::is_regular_file(context.helper_folder + kDownloadHelperProgram, error)) {
    return {};
  }
  return context.helper_folder;
}

}  // namespace

void CheckVendorProcesses(PlaybackContext& context) {
  const std::filesystem::path& config = context.window.ConfigPath;
  const bool stop_player = Settings::Load(config).stop_vendor_player_at_start;
  std::string& folder = context.now.TerminalFolder;
  // Only this installation's vendor processes count: a helper that another
  // copy of the program started serves that copy's files, and a process
  // found by its name alone would keep ours from starting.
  const std::string& own = context.helper_folder;
  const std::string player = own + kVendorPlayerProgram;
  const std::string helper = own + kDownloadHelperProgram;
  bool helper_running = false;
  for (const ProcessEntry& entry : context.processes.List()) {
    if (own.empty()) break;
    if (RunsProgram(entry, player)) {
      folder = own;
      // A player that will not end is left running.
      if (stop_player) (void)context.processes.Terminate(entry.id);
    } else if (RunsProgram(entry, helper)) {
      helper_running = true;
    }
  }
  if (!helper_running) {
    if (folder.empty()) folder = InstalledHelperFolder(context);
    if (!folder.empty()) {
      context.window.ports.host.ProcessPendingEvents();
      // A helper that will not start is started again when an item plays.
      (void)context.launcher.Start(folder + kDownloadHelperProgram, {});
    }
  }
  if (folder.empty() && helper_running) folder = own;
  // An unwritable settings file only costs the folder at the next start.
  if (!folder.empty()) (void)SaveVendorFolder(config, folder);
}

void QuitProgram(MainWindow& window, ProcessTable& processes, std::string_view vendor_folder,
                 const QuitHooks& hooks) {
  RemoveTrayIcon(window);
  const bool end_vendor = Settings::Load(window.ConfigPath).end_vendor_on_quit;
  if (window.model.ContentMode == ContentMode::kPlayer) window.ClickControlBar(bo_but::kStop);
  if (end_vendor && !vendor_folder.empty()) {
    // This installation's processes only: another copy of the program may
    // be playing through its own helper.
    KillProgram(processes, std::string(vendor_folder) + kVendorPlayerProgram);
    KillProgram(processes, std::string(vendor_folder) + kDownloadHelperProgram);
  }
  // Answers still on their way are not waited for: the main loop ends with
  // the run, and they are dropped with their fetcher.
  if (hooks.close_windows) hooks.close_windows();
  if (hooks.finish_run) hooks.finish_run();
}

}  // namespace taviro
