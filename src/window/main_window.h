#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "window/menu_model.h"
#include "window/window_layout.h"
#include "window/window_model.h"

namespace taviro {

class MenuPresenter;
class PlayerControl;
class Prompt;
class SkinPictures;
class TextMetrics;
class TrayIcon;
class WebViewSet;
class WindowHost;

inline constexpr std::string_view kProductName = "Taviro";
inline constexpr std::string_view kProductVersion = "2.3";

// The control bar under the video. Playback implements it; the window only
// presses its buttons by index, as the menus and the keyboard do.
class ControlBarActions {
 public:
  virtual ~ControlBarActions() = default;
  virtual void Click(int index) = 0;
};

// Everything outside the core that the main window's rules talk to.
struct WindowPorts {
  WindowHost& host;
  Prompt& prompt;
  TrayIcon& tray;
  WebViewSet& web;
  SkinPictures& pictures;
  MenuPresenter& menus;
  TextMetrics& text;
  PlayerControl& player;
};

// Routines that belong to other parts of the program. An empty one does
// nothing, so the window works before they are wired up.
struct WindowCallbacks {
  std::function<void()> quit_program;      // the quit routine
  std::function<void()> clear_news_hover;  // the news line's hover flag
  std::function<void()> start_service;     // the program's own service, again
  ControlBarActions* control_bar = nullptr;
};

// The main window's core: its model, the ports it drives and the few values
// its rules need. The rules themselves are free functions per concern
// (title_bar_commands, mini_mode, tab_selection, content_mode, skin_routine,
// tray_controller) taking this object.
struct MainWindow {
  MainWindow(const WindowPorts& window_ports, std::filesystem::path config_path,
             std::string service_base_url);

  WindowModel model;
  MenuModel menu;
  WindowPorts ports;
  std::filesystem::path ConfigPath;
  // Empty while the program's own service has not told its address.
  std::string ServiceBaseUrl;
  WindowCallbacks callbacks;

  // What the layout functions read besides the model; the volume is asked of
  // the player every time.
  LayoutEnv Env() const;

  void Quit() const;
  void ClickControlBar(int index) const;
  void ClearNewsHover() const;
};

}  // namespace taviro
