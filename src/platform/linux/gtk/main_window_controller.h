#pragma once

#include <gtk/gtk.h>

#include "platform/linux/gtk/window_view_events.h"

namespace taviro {
struct MainWindow;
struct PlaybackContext;
class ControlBar;
class ListCommands;
}

namespace taviro::gtk {

class MainWindowView;

// The one place where the window's widget events meet the core's rules:
// each event runs its handler on the MainWindow, then the view is brought
// in line with the model.
class MainWindowController final : public WindowViewEvents {
 public:
  explicit MainWindowController(MainWindow& window) : window_(window) {}
  MainWindowController(const MainWindowController&) = delete;
  MainWindowController& operator=(const MainWindowController&) = delete;
  ~MainWindowController() override;

  void AttachView(MainWindowView& view) { view_ = &view; }
  // The playback objects exist once start-up is through; until then their
  // regions do nothing.
  void AttachPlayback(PlaybackContext& playback, ControlBar& control_bar, ListCommands& list_commands) {
    playback_ = &playback;
    control_bar_ = &control_bar;
    list_commands_ = &list_commands;
  }
  // Mirrors the model after code outside the window's events changed it.
  void Refresh();

  void OnPress(RegionId region, int button, int x, int y) override;
  void OnRelease(RegionId region, int button, int x, int y) override;
  void OnClick(RegionId region) override;
  void OnDoubleClick(RegionId region) override;
  void OnPointerMove(RegionId region, int x, int y, bool left_down) override;
  void OnPointerLeave(RegionId region) override;
  void OnResized(int width, int height) override;
  void OnStateChanged(WindowState state) override;
  void OnCloseRequest() override;
  void OnKeyPress(unsigned key_value, unsigned modifiers) override;

 private:
  void WatchResizeDrag();
  static gboolean OnResizeSettled(gpointer data);

  MainWindow& window_;
  bool OnPlaybackPress(RegionId region, int button, int x);
  void OnPlaybackPointerMove(RegionId region, int x, bool left_down);

  MainWindowView* view_ = nullptr;
  PlaybackContext* playback_ = nullptr;
  ControlBar* control_bar_ = nullptr;
  ListCommands* list_commands_ = nullptr;
  bool resize_drag_ = false;
  guint resize_timer_ = 0;
};

}  // namespace taviro::gtk
