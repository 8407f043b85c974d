#include "window/content_mode.h"

#include "ports/web_view.h"
#include "ports/window_host.h"
#include "window/bo_but_buttons.h"
#include "window/main_window.h"
#include "window/window_design.h"

namespace taviro {
namespace {

void ShowPlayerArea(WindowModel& model, bool player_area) {
  model[RegionId::Pic2].visible = !player_area;
  model[RegionId::qvod].visible = player_area;
}

}  // namespace

void SetContentMode(MainWindow& window, ContentMode mode) {
  WindowModel& model = window.model;
  if (model.ContentMode == ContentMode::kPlayer) window.ClickControlBar(bo_but::kStop);
  if (mode != ContentMode::kWebPlayPage && model.ContentMode == ContentMode::kWebPlayPage) GgxClick(window);
  if (mode != ContentMode::kTvPage && model.ContentMode == ContentMode::kTvPage) GtvClick(window);
  model.ContentMode = mode;
  ShowPlayerArea(model, mode != ContentMode::kWebPlayPage);
}

void ClearPlayStrip(MainWindow& window) {
  WindowModel& model = window.model;
  model[RegionId::gunt1].rect.left = 0;
  model[RegionId::huan].rect.left = 0;
  model[RegionId::gunt2].rect.width = 0;
  model[RegionId::huan].rect.width = 0;

  model[RegionId::bo_name].caption.clear();
  FitAutoSizeLabel(model, RegionId::bo_name, window.ports.text);
  RegionState& times = model[RegionId::times];
  times.rect.left = model[RegionId::qvod].rect.width - times.rect.width - 13;
  times.rect.top = 3;
  times.caption.clear();
}

void GgxClick(MainWindow& window) {
  WindowModel& model = window.model;
  ClearPlayStrip(window);

  ShowPlayerArea(model, true);
  // Let the switch to the player area reach the screen before the page is
  // unloaded.
  window.ports.host.ProcessPendingEvents();
  window.ports.web.View(WebViewRole::kPlayPage).Navigate("about:blank");
  model.ContentMode = ContentMode::kNothingShown;
}

void GtvClick(MainWindow& window) {
  window.model[RegionId::gtv].visible = false;
  window.model.ContentMode = ContentMode::kNothingShown;
  window.ports.host.ProcessPendingEvents();
  window.ports.web.View(WebViewRole::kTvAdvert).Navigate(window.ServiceBaseUrl + "tv/ad.htm");
}

}  // namespace taviro
