#include "playback/play_list_entry.h"

#include <optional>
#include <string>

#include "lists/list_fields.h"
#include "lists/list_links.h"
#include "lists/list_text.h"
#include "lists/media_lists.h"
#include "playback/catalogue_links.h"
#include "playback/link_router.h"
#include "playback/media_address.h"
#include "playback/playback_context.h"
#include "ports/player_control.h"
#include "ports/program_launcher.h"
#include "ports/prompt.h"
#include "ports/web_view.h"
#include "ports/window_host.h"
#include "settings/setting_keys.h"
#include "util/file_io.h"
#include "util/process_helpers.h"
#include "util/script_escape.h"
#include "util/text_number.h"
#include "util/truncate_by_width.h"
#include "window/content_mode.h"
#include "window/layout_support.h"
#include "window/main_window.h"
#include "window/npc_buttons.h"
#include "window/title_bar_commands.h"
#include "window/tray_controller.h"
#include "window/window_design.h"

namespace taviro {
namespace {

constexpr int kNameWidth = 30;
constexpr std::string_view kTerminalProgram = "QvodTerminal.exe";
constexpr std::string_view kMissingFileSuffix = "不存在!";

// A record with fewer fields reads the missing ones as empty, so a row
// whose line has changed under it still ends in one of the branches below.
std::string Field(std::string_view record, std::size_t index) {
  return std::string(ListField(record, index).value_or(std::string_view()));
}

void StartPlayer(PlaybackContext& context, const std::string& url) {
  PlayerControl& player = context.window.ports.player;
  player.SetUrl(url);
  player.Play();
  context.timers.Timer1.SetEnabled(true);  // the poller follows the new item
}

void PlayLocalEntry(PlaybackContext& context, std::string_view record, std::string_view line) {
  MainWindow& window = context.window;
  SetContentMode(window, ContentMode::kPlayer);
  const std::string name = Field(record, 0);
  const std::string path = LocalPathFromStored(Field(record, 1));
  const std::string position = Field(record, 2);
  // A row naming no absolute path names no file the player may open.
  if (!MayReachPlayer(path) || !IsRegularFile(path)) {
    window.ports.prompt.Inform(std::string(kPromptCaption), path + std::string(kMissingFileSuffix));
    context.lists.DeleteListLine(ListFile::kLocalFiles, ToInteger(line));
    return;
  }
  StartPlayer(context, path);
  ShowItemName(window, TruncateByWidth(ScriptUnescape(name), kNameWidth));

  StartLocalItem(context.now, path);
  context.now.ResumePosition = ToInteger(position);
}

// The download helper serves the player; it may have been ended since the
// program started.
void EnsureTerminalRunning(PlaybackContext& context) {
  const std::string& folder = context.now.TerminalFolder;
  // "0" is what an unset folder reads as: no helper is known.
  if (folder.empty() || folder == settings::kUnset) return;
  // That folder's helper: a copy of the program elsewhere runs its own.
  const std::string program = folder + std::string(kTerminalProgram);
  if (IsProgramRunning(context.processes, program)) return;
  context.window.ports.host.ProcessPendingEvents();
  // A helper that will not start leaves the player to report the failure.
  context.launcher.Start(program, {});
}

void PlayNetworkEntry(PlaybackContext& context, std::string_view record) {
  MainWindow& window = context.window;
  NowPlaying& now = context.now;
  const std::string id = Field(record, 0);
  const std::string title = Field(record, 1);
  const std::string episode_name = Field(record, 2);
  const std::string media_url = Field(record, 3);
  const std::string source = Field(record, 4);
  const std::string episode = Field(record, 5);
  const std::string position = Field(record, 6);
  const std::string item_key = id + "-" + source + "-" + episode + "-" + title;
  WebView& episode_list = window.ports.web.View(WebViewRole::kEpisodeList);

  if (media_url.find("qvod") != std::string::npos) {
    if (!MayReachPlayer(ScriptUnescape(media_url))) {
      ShowBalloon(window.ports.tray, kReadErrorBalloon);
      return;
    }
    SetContentMode(window, ContentMode::kPlayer);
    EnsureTerminalRunning(context);
    window.ports.player.NameItem(ScriptUnescape(media_url), SavedItemTitle(title, episode_name, episode));
    StartPlayer(context, ScriptUnescape(media_url));
    ShowItemName(window,
                 TruncateByWidth(ScriptUnescape(title), kNameWidth) + "-" + ScriptUnescape(episode_name));
    now.resume_done = false;
    now.ResumePosition = ToInteger(position);
    episode_list.Navigate(window.ServiceBaseUrl + "pp.htm?" + item_key + "-0");
    now.CurrentItemKey = item_key;
    now.next_episode = NoNextEpisode{};
    now.prefetch_started = false;
    now.next_media = NextMediaUnresolved{};
    now.ListKey = id;
  } else {
    // Other addresses play on the service's page, which then sends its own
    // play links.
    SetContentMode(window, ContentMode::kWebPlayPage);
    now.ListKey = "0";
    episode_list.Navigate(window.ServiceBaseUrl + "pp.htm?" + item_key + "-" + source + episode);
  }
  now.item_kind = ItemKind::kCatalogue;
  ShowSideTab(window, SideTab::kEpisodes);
}

}  // namespace

void ShowItemName(MainWindow& window, std::string caption) {
  WindowModel& model = window.model;
  model[RegionId::bo_name].caption = std::move(caption);
  FitAutoSizeLabel(model, RegionId::bo_name, window.ports.text);
  model[RegionId::bo_name].rect.left =
      layout::Half(model[RegionId::bo_zt].rect.width - model[RegionId::bo_name].rect.width);
}

void PlayListEntry(PlaybackContext& context, std::string_view line) {
  const ListFile list = ActiveList(context.window.model);
  // A line that is not there reads as an empty record and runs its branch
  // all the same: a local row then names no file, so it is reported and
  // dropped like one whose file has gone.
  const std::string record = context.lists.ReadListLine(list, ToInteger(line)).value_or(std::string());
  if (list == ListFile::kLocalFiles) {
    PlayLocalEntry(context, record, line);
  } else {
    PlayNetworkEntry(context, record);
  }
}

void PlayLocalListLine(PlaybackContext& context, int line_number) {
  const std::string line = std::to_string(line_number);
  const std::string record =
      context.lists.ReadListLine(ListFile::kLocalFiles, line_number).value_or(std::string());
  PlayLocalEntry(context, record, line);
}

}  // namespace taviro
