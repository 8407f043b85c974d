#include "app/command_line_handoff.h"

#include "app/open_local_files.h"
#include "lists/media_lists.h"
#include "playback/media_address.h"
#include "playback/playback_context.h"
#include "ports/player_control.h"
#include "util/path_names.h"
#include "util/truncate_by_width.h"
#include "window/content_mode.h"
#include "window/layout_support.h"
#include "window/main_window.h"
#include "window/mini_mode.h"
#include "window/npc_buttons.h"
#include "window/title_bar_commands.h"
#include "window/window_design.h"
#include "window/window_state.h"

namespace taviro {
namespace {

constexpr int kTitleWidth = 30;

// The title label of the control bar, centred over the bar.
void ShowTitle(MainWindow& window, const std::string& name) {
  WindowModel& model = window.model;
  model[RegionId::bo_name].caption = TruncateByWidth(name, kTitleWidth);
  FitAutoSizeLabel(model, RegionId::bo_name, window.ports.text);
  model[RegionId::bo_name].rect.left =
      layout::Half(model[RegionId::bo_zt].rect.width - model[RegionId::bo_name].rect.width);
}

void BringWindowForward(MainWindow& window) {
  SetWindowShown(window, false);
  SetWindowShown(window, true);
  if (window.model.state == WindowState::kMinimised) {
    SetWindowState(window, WindowState::kNormal);
  }
}

}  // namespace

void AddAndPlayLocalFile(PlaybackContext& context, const std::string& command_line,
                         const std::filesystem::path& working_folder) {
  PlayLocalFile(context, CommandLinePathIn(command_line, working_folder));
}

void PlayLocalFile(PlaybackContext& context, const std::string& path) {
  // An address the player must not open (fd://, av://...) is neither played
  // nor listed. A file name is left to the player, which opens absolute
  // paths only.
  if (path.find("://") != std::string::npos && !MayReachPlayer(path)) {
    return;
  }
  PlayerControl& player = context.window.ports.player;
  player.SetUrl(path);
  player.Play();
  if (!context.timers.Timer1.Enabled()) {
    context.timers.Timer1.SetEnabled(true);
  }

  const std::string name = ShownNameOf(path);
  ShowTitle(context.window, name);
  StartLocalItem(context.now, path);
  context.lists.AddLocalFile(name, path, 0);
  context.now.item_kind = ItemKind::kLocalFile;
  ShowMainTab(context.window, MainTab::kPlayer);
  ShowSideTab(context.window, SideTab::kLocalFiles);
}

void ReceiveHandOff(PlaybackContext& context, const std::string& text,
                    const std::function<void()>& enable_vendor_check) {
  if (enable_vendor_check) {
    enable_vendor_check();
  }
  BringWindowForward(context.window);
  const HandOffMessage message = DecodeHandOff(text);
  if (message.command_line.empty()) {
    return;
  }
  OpenCommandLine(context, message.command_line, message.working_folder);
}

void PlayCommandLine(PlaybackContext& context, const std::string& command_line,
                     const std::filesystem::path& working_folder) {
  MainWindow& window = context.window;
  if (window.model.mini_mode != MiniMode::kOff) {
    JbiClick(window);
  }
  ShowMainTab(window, MainTab::kPlayer);
  SetContentMode(window, ContentMode::kPlayer);
  AddAndPlayLocalFile(context, command_line, working_folder);
}

}  // namespace taviro
