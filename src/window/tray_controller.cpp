#include "window/tray_controller.h"

#include <string>

#include "ports/menu_presenter.h"
#include "ports/tray_icon.h"
#include "util/utf8.h"
#include "window/main_window.h"
#include "window/window_state.h"

namespace taviro {

void AddTrayIcon(MainWindow& window) { window.ports.tray.Add(std::string(kProductName)); }

void RemoveTrayIcon(MainWindow& window) { window.ports.tray.Remove(); }

void OnTrayLeftClick(MainWindow& window) {
  if (window.model.state == WindowState::kMinimised) {
    SetWindowState(window, WindowState::kNormal);
  } else {
    SetWindowShown(window, !window.model.shown);
  }
}

void OnTrayRightClick(MainWindow& window) { window.ports.menus.PopupAtPointer(PopupMenu::r_m); }

void ShowFromTray(MainWindow& window) {
  if (!window.model.shown) SetWindowShown(window, true);
  if (window.model.state == WindowState::kMinimised) SetWindowState(window, WindowState::kNormal);
}

void OnTrayReachChanged(MainWindow& window) {
  if (window.model.shown || window.ports.tray.Embedded()) return;
  SetWindowShown(window, true);
  SetWindowState(window, WindowState::kMinimised);
}

void ShowBalloon(TrayIcon& tray, std::string_view text) {
  std::u32string characters = DecodeUtf8(text);
  if (characters.size() > kBalloonTextLimit) characters.resize(kBalloonTextLimit);
  tray.ShowBalloon(std::string(kBalloonTitle), EncodeUtf8(characters));
}

SizeLimits HookSizeLimits(int min_width, int min_height, int max_width, int max_height,
                          const ScreenRect& screen) {
  return SizeLimits{min_width, min_height, max_width != 0 ? max_width : screen.width(),
                    max_height != 0 ? max_height : screen.height()};
}

}  // namespace taviro
