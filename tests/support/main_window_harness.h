#pragma once

#include <string>
#include <vector>

#include "support/call_log.h"
#include "support/chrome_fakes.h"
#include "support/fake_menu_presenter.h"
#include "support/fake_player_control.h"
#include "support/fake_prompt.h"
#include "support/fake_skin_pictures.h"
#include "support/fake_tray_icon.h"
#include "support/fake_web_view.h"
#include "support/fake_window_host.h"
#include "support/temp_folder.h"
#include "window/main_window.h"

namespace taviro::testing {

// A control bar that only records which buttons were pressed.
class FakeControlBar : public ControlBarActions {
 public:
  explicit FakeControlBar(CallLog* log = nullptr) : log_(log) {}
  void Click(int index) override {
    clicks.push_back(index);
    AddTo(log_, "bo_but.Click(" + std::to_string(index) + ")");
  }
  std::vector<int> clicks;

 private:
  CallLog* log_;
};

// A main window wired to recording fakes, with its settings file in a fresh
// temporary folder. Every fake writes to `log`. The window starts shown and
// laid out at its default size, as after start-up.
struct MainWindowHarness {
  static constexpr const char* kBaseUrl = "http://127.0.0.1:8080/";

  MainWindowHarness();

  // The settings file's value, or `fallback` when the key is missing.
  std::string Setting(std::string_view section, std::string_view key,
                      std::string_view fallback = "<missing>") const;
  void SetSetting(std::string_view section, std::string_view key, std::string_view value) const;

  CallLog log;
  TempFolder folder;
  FakeWindowHost host{&log};
  FakePrompt prompt{&log};
  FakeTrayIcon tray{&log};
  FakeWebViewSet web{&log};
  FakeSkinPictures pictures{&log};
  FakeMenuPresenter menus{&log};
  FixedWidthTextMetrics text;
  FakePlayerControl player{&log};
  FakeControlBar control_bar{&log};
  int quit_count = 0;
  MainWindow window;
};

}  // namespace taviro::testing
