#include "support/main_window_harness.h"

#include "settings/settings_store.h"
#include "window/window_design.h"
#include "window/window_layout.h"

namespace taviro::testing {

MainWindowHarness::MainWindowHarness()
    : window(WindowPorts{host, prompt, tray, web, pictures, menus, text, player}, folder / "config.dll",
             kBaseUrl) {
  window.callbacks.quit_program = [this] {
    ++quit_count;
    log.Add("ttt_v");
  };
  window.callbacks.control_bar = &control_bar;
  WindowModel& model = window.model;
  model.shown = true;
  host.visible = true;
  ApplyDesignLook(model);
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
