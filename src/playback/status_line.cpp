#include "playback/status_line.h"

#include <string>

#include "ui/main/main_window.h"
#include "ui/main/window_design.h"

namespace taviro {
namespace {

// Rounds towards minus infinity, as the layout centres, so a title wider
// than the strip sticks out by the same amount on both sides.
int HalfDown(int value) { return value >= 0 ? value / 2 : -((-value + 1) / 2); }

}  // namespace

void SetStatusText(MainWindow& window, std::string_view text) {
  window.model[RegionId::zhun].caption = std::string(text);
  FitAutoSizeLabel(window.model, RegionId::zhun, window.ports.text);
}

void ShowItemTitle(MainWindow& window, std::string_view caption) {
  WindowModel& model = window.model;
  RegionState& title = model[RegionId::bo_name];
  title.caption = std::string(caption);
  FitAutoSizeLabel(model, RegionId::bo_name, window.ports.text);
  title.rect.left = HalfDown(model[RegionId::bo_zt].rect.width - title.rect.width);
}

}  // namespace taviro
