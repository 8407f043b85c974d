#include "support/control_bar_harness.h"

#include "window/window_chrome.h"

namespace taviro::testing {

std::string ModelChanges(const WindowModel& before, const WindowModel& after) {
  std::string changes;
  const auto note = [&changes](bool same, std::string_view name) {
    if (same) return;
    if (!changes.empty()) changes += " ";
    changes += name;
  };
  for (int i = 0; i < kRegionCount; ++i) {
    const auto id = static_cast<RegionId>(i);
    note(before[id] == after[id], RegionName(id));
  }
  note(before.width_twips == after.width_twips && before.height_twips == after.height_twips &&
           before.left_twips == after.left_twips && before.top_twips == after.top_twips,
       "window size");
  note(before.state == after.state && before.shown == after.shown, "window state");
  note(before.mini_mode == after.mini_mode, "mini_mode");
  note(before.main_tab == after.main_tab, "main_tab");
  note(before.side_tab == after.side_tab, "side_tab");
  note(before.ignore_next_click == after.ignore_next_click, "ignore_next_click");
  note(before.topmost == after.topmost, "IsTopmost");
  note(before.ContentMode == after.ContentMode, "ContentMode");
  note(before.pause_panel == after.pause_panel && before.banner_panel == after.banner_panel, "advert states");
  return changes;
}

ControlBarHarness::ControlBarHarness() {
  window.callbacks.control_bar = &bar;
  PaintButtons(model);
}

void ControlBarHarness::LoadItemWithBars() {
  model[RegionId::gunt].rect.width = 610;
  model[RegionId::gunt1].rect.width = 10;
  model[RegionId::yin].rect.width = 80;
  model[RegionId::bo_v].rect.width = 10;
  player.url = "/films/a.mp4";
  player.duration = 3000;
}

}  // namespace taviro::testing
