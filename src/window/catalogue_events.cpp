#include "window/catalogue_events.h"

#include "ports/web_view.h"
#include "window/main_window.h"

namespace taviro {
namespace {

using R = RegionId;

constexpr Tile kErrorPicture{kExtraPictureBase + 3, 0, 0, 180, 50, false};

}  // namespace

void OnCatalogueLoaded(MainWindow& window) {
  WindowModel& model = window.model;
  if (!model.catalogue_failed && !model[R::Pic1].visible) {
    model[R::Pic1].visible = true;
    model[R::wait].visible = false;
  }
}

void OnCatalogueNavigateError(MainWindow& window, const std::string& address) {
  if (window.ServiceBaseUrl.empty() || address.find(window.ServiceBaseUrl) == std::string::npos) {
    return;
  }
  ShowCatalogueFailed(window);
}

void ShowCatalogueFailed(MainWindow& window) {
  WindowModel& model = window.model;
  model[R::Pic1].visible = false;
  model[R::jia].face = kErrorPicture;
  model[R::wait].visible = true;
  model.catalogue_failed = true;
}

void RetryCatalogue(MainWindow& window) {
  window.model.catalogue_failed = false;
  if (window.ServiceBaseUrl.empty()) {
    // No address yet: the program's own service did not start; it is
    // started again, and its address loads the catalogue.
    if (window.callbacks.start_service) window.callbacks.start_service();
    return;
  }
  window.ports.web.View(WebViewRole::kCatalogue).Navigate(window.ServiceBaseUrl);
}

void OnAdvertNavigateError(MainWindow& window, int view_number) {
  WindowModel& model = window.model;
  if (view_number == 7) {
    model[R::ad_huan].visible = false;
    model[R::adp].visible = true;
    model.pause_panel = AdPanel::kFailed;
  } else if (view_number == 8) {
    model[R::bo_pad].visible = false;
    model.banner_panel = AdPanel::kFailed;
  }
}

}  // namespace taviro
