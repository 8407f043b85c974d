#include "playback/status_strip.h"

#include "window/main_window.h"
#include "window/window_design.h"

namespace taviro {

void SetStatusText(MainWindow& window, std::string_view text) {
  window.model[RegionId::zhun].caption = text;
  FitAutoSizeLabel(window.model, RegionId::zhun, window.ports.text);
}

void PlaceTimeLabel(MainWindow& window) {
  WindowModel& model = window.model;
  Rect& times = model[RegionId::times].rect;
  times.left = model[RegionId::qvod].rect.width - times.width - 13;
}

}  // namespace taviro
