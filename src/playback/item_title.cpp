#include "playback/item_title.h"

#include <string>

#include "window/main_window.h"
#include "window/window_design.h"

namespace taviro {

void ShowItemTitle(MainWindow& window, std::string_view caption) {
  WindowModel& model = window.model;
  RegionState& title = model[RegionId::bo_name];
  title.caption = std::string(caption);
  FitAutoSizeLabel(model, RegionId::bo_name, window.ports.text);
  title.rect.left = (model[RegionId::bo_zt].rect.width - title.rect.width) / 2;
}

}  // namespace taviro
