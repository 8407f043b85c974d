#include "playback/status_strip.h"

#include "ui/main/main_window.h"
#include "ui/main/window_design.h"

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
