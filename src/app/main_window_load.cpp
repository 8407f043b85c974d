#include "app/main_window_load.h"

#include "app/command_line_handoff.h"
#include "ports/instance_channel.h"
#include "ports/player_control.h"
#include "ports/web_view.h"
#include "ports/window_host.h"
#include "settings/setting_keys.h"
#include "settings/settings.h"
#include "util/file_uri.h"
#include "window/main_window.h"
#include "window/npc_buttons.h"
#include "window/skin_routine.h"
#include "window/tray_controller.h"
#include "window/window_design.h"
#include "window/window_state.h"

namespace taviro {
namespace {

// The window is sized within the work area, so that a size saved on a
// larger screen cannot push the title bar's buttons out of reach.
void SizeAndCentre(MainWindow& window, const Settings& stored) {
  const ScreenRect area = window.ports.host.WorkArea();
  window.model.size_limits =
      HookSizeLimits(0, 0, area.width(), area.height(), window.ports.host.ScreenBounds());
  const bool remember = stored.remember_size;
  const int width = remember ? stored.saved_width_twips : settings::kDefaultWidthTwips;
  const int height = remember ? stored.saved_height_twips : settings::kDefaultHeightTwips;
  SetOuterSize(window, width, height);
  const int left =
      area.left * kTwipsPerPixel + (area.width() * kTwipsPerPixel - window.model.width_twips) / 2;
  const int top =
      area.top * kTwipsPerPixel + (area.height() * kTwipsPerPixel - window.model.height_twips) / 2;
  MoveOuter(window, std::max(left, 0), std::max(top, 0));
}

void LoadCatalogueView(MainWindow& window) {
  window.ports.web.View(WebViewRole::kCatalogue).Navigate(window.ServiceBaseUrl);
}

void LoadServiceSideViews(MainWindow& window) {
  WebViewSet& web = window.ports.web;
  const std::string& base = window.ServiceBaseUrl;
  const std::string user_id = Settings::Load(window.ConfigPath).user_id;
  web.View(WebViewRole::kStatistics).Navigate(base + "tj/tj.asp?id=" + user_id);  // sent as stored, unescaped
  web.View(WebViewRole::kPlayerBanner).Navigate(base + "js/ads/bo.html");
  web.View(WebViewRole::kHighlights).Navigate(base + "js/ads/jingcai.html");
  web.View(WebViewRole::kPauseAdvert).Navigate(base + "js/ads/qvodad.html");
  web.View(WebViewRole::kTvChannels).Navigate(base + "tv/list.htm");
  web.View(WebViewRole::kTvAdvert).Navigate(base + "tv/ad.htm");
}

// The views in their order; those of the service only once its address is
// known.
void LoadWebViews(MainWindow& window, const std::filesystem::path& app_folder) {
  const bool service_known = !window.ServiceBaseUrl.empty();
  if (service_known) LoadCatalogueView(window);
  WebViewSet& web = window.ports.web;
  web.View(WebViewRole::kPlayPage).Navigate("about:blank");
  web.View(WebViewRole::kTaskList).Navigate(FileUri(app_folder / "c.htm"));
  web.View(WebViewRole::kLocalFileList).Navigate(FileUri(app_folder / "f.htm"));
  web.View(WebViewRole::kEpisodeList).Navigate("about:blank");
  web.View(WebViewRole::kEpisodeList).WriteDocument(kBlankEpisodePage, "");
  if (service_known) LoadServiceSideViews(window);
}

}  // namespace

LoadOutcome LoadMainWindow(MainWindow& window, const MainWindowLoad& load) {
  if (load.instances.HandToRunningInstance(
          EncodeHandOff({load.working_folder, load.command_line, load.activation_token}))) {
    return LoadOutcome::kHandedOff;
  }
  WindowModel& model = window.model;
  ApplyDesignSizes(model);
  ApplyDesignLook(model);
  model.laid_out = false;

  const Settings stored = Settings::Load(window.ConfigPath);
  SizeAndCentre(window, stored);
  model.main_tab = MainTab::kCatalogue;
  model.side_tab = SideTab::kTasks;
  LoadDesignPictures(window);
  ApplySkin(window, StartupSkinIndex(stored.skin));

  LoadWebViews(window, load.app_folder);
  AddTrayIcon(window);
  model.ContentMode = ContentMode::kNothingShown;
  model.catalogue_failed = false;
  model.pause_panel = AdPanel::kOff;
  model.banner_panel = AdPanel::kOff;
  model.ignore_next_click = false;
  if (!window.ServiceBaseUrl.empty()) {
    window.ports.player.SetAdvertUrl(window.ServiceBaseUrl + "js/ads/qvodad.html");
  }

  if (!load.command_line.empty() && load.play_command_line) {
    load.play_command_line(load.command_line);
  }
  return LoadOutcome::kRunning;
}

void LoadServiceViews(MainWindow& window) {
  LoadCatalogueView(window);
  LoadServiceSideViews(window);
  window.ports.player.SetAdvertUrl(window.ServiceBaseUrl + "js/ads/qvodad.html");
}

}  // namespace taviro
