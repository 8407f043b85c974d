#include "playback/vendor_processes.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/process_helpers.h"
#include "app/setting_keys.h"
#include "app/settings_store.h"
#include "app/text_number.h"
#include "platform/process_table.h"
#include "platform/program_launcher.h"
#include "platform/window_host.h"
#include "playback/playback_context.h"
#include "ui/main/bo_but_buttons.h"
#include "ui/main/main_window.h"
#include "ui/main/tray_controller.h"

namespace taviro {
namespace {

constexpr int kEndVendorOnQuit = 2;

std::string Upper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  return upper;
}

bool IsProgram(const ProcessEntry& entry, std::string_view program) {
  return Upper(entry.executable_name) == Upper(program);
}

void RemoveAll(std::string& text, std::string_view part) {
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) {
    text.erase(at, part.size());
  }
}

// The folder the installation put the helper in, when it is there.
std::string InstalledHelperFolder(const PlaybackContext& context) {
  const std::filesystem::path folder = context.app_folder / "Qvod";
  std::error_code error;
  if (!std::filesystem::is_regular_file(folder / kDownloadHelperProgram, error)) return {};
  return folder.string() + "/";
}

}  // namespace

void OnTimer3(PlaybackContext& context) {
  const std::filesystem::path& config = context.window.ConfigPath;
  const std::string leave_player = ReadSetting(config, settings::kStopVendorPlayerAtStart, "0");
  std::string& folder = context.now.TerminalFolder;
  std::string helper_path;
  bool helper_running = false;
  for (const ProcessEntry& entry : context.processes.List()) {
    if (IsProgram(entry, kVendorPlayerProgram)) {
      folder = entry.executable_path;
      // A player that will not end is left running.
      if (leave_player != "1") (void)context.processes.Terminate(entry.id);
    } else if (IsProgram(entry, kDownloadHelperProgram)) {
      helper_running = true;
      helper_path = entry.executable_path;
    }
  }
  RemoveAll(folder, kVendorPlayerProgram);
  SweepTrayIcons();
  if (!helper_running) {
    if (folder.empty()) folder = InstalledHelperFolder(context);
    if (!folder.empty()) {
      context.window.ports.host.ProcessPendingEvents();
      // A helper that will not start is started again when an item plays.
      (void)context.launcher.Start(folder + kDownloadHelperProgram, {});
    }
  }
  if (folder.empty() && !helper_path.empty()) {
    folder = helper_path;
    RemoveAll(folder, kDownloadHelperProgram);
  }
  // An unwritable settings file only costs the folder at the next start.
  if (!folder.empty()) (void)WriteSetting(config, settings::kVendorFolder, folder);
}

void ttt_v(MainWindow& window, ProcessTable& processes, const QuitHooks& hooks) {
  RemoveTrayIcon(window);
  const int end_vendor = ToInteger(ReadSetting(window.ConfigPath, settings::kEndVendorOnQuit, "0"));
  if (window.model.ContentMode == ContentMode::kPlayer) {
    window.model.SuppressClick = 0;
    window.ClickControlBar(bo_but::kStop);
  }
  if (end_vendor == kEndVendorOnQuit) {
    KillProcessByName(processes, kVendorPlayerProgram);
    KillProcessByName(processes, kDownloadHelperProgram);
    SweepTrayIcons();
  }
  // Service requests are synchronous here: none can be in flight to cancel.
  if (hooks.close_windows) hooks.close_windows();
  if (hooks.finish_run) hooks.finish_run();
}

}  // namespace taviro
