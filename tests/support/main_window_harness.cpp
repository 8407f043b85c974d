#include "support/main_window_harness.h"

#include "app/settings_store.h"
#include "ui/main/window_layout.h"

namespace taviro::testing {

MainWindowHarness::MainWindowHarness()
    : window(WindowPorts{host, prompt, tray, web, pictures, menus, text, player}, folder / "config.dll",
             kBaseUrl) {
  window.callbacks.ttt_v = [this] {
    ++quit_count;
    log.Add("ttt_v");
  };
  window.callbacks.control_bar = &control_bar;
  WindowModel& model = window.model;
  model.shown = true;
  host.visible = true;
  model[Npc(1)].tooltip = "最大化";
  model[Npc(4)].tooltip = "置顶";
  model[Npc(6)].tooltip = "关闭侧栏";
  model[Npc(15)].tooltip = "关闭侧栏";
  // Shown only in mini mode or while hovering.
  for (RegionId hidden : {RegionId::jbi, RegionId::ni_bo1, RegionId::P1}) model[hidden].visible = false;
  ApplyDesignSizes(model);
  LayoutWindow(model, window.Env());
  model.laid_out = true;
  log.entries.clear();
}

std::string MainWindowHarness::Setting(std::string_view section, std::string_view key,
                                       std::string_view fallback) const {
  return ReadSetting(window.ConfigPath, section, key, fallback);
}

void MainWindowHarness::SetSetting(std::string_view section, std::string_view key,
                                   std::string_view value) const {
  WriteSetting(window.ConfigPath, section, key, value);
}

}  // namespace taviro::testing
