#pragma once

#include <gtk/gtk.h>

#include "linux/gtk/window_view_events.h"
#include "ui/window_events.h"

namespace taviro::gtk {

class MainWindowView;

// The one place where the window's widget events meet the core's rules:
// each event goes to the core's event table.
class MainWindowController final : public WindowViewEvents {
 public:
  explicit MainWindowController(MainWindow& window) : events_(window) {}
  MainWindowController(const MainWindowController&) = delete;
  MainWindowController& operator=(const MainWindowController&) = delete;
  ~MainWindowController() override;

  void AttachView(MainWindowView& view) { view_ = &view; }
  // The playback objects exist once start-up is through; until then their
  // regions do nothing.
  void AttachPlayback(PlaybackContext& playback, ControlBar& control_bar, ListCommands& list_commands) {
    events_.AttachPlayback(playback, control_bar, list_commands);
  }
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
  void OnActivate(RegionId region) override;
  void OnSliderStep(RegionId region, bool up) override;
  ControlDescription Describe(RegionId region) override { return events_.Describe(region); }

 private:
  void WatchResizeDrag();
  static gboolean OnResizeSettled(gpointer data);

  WindowEvents events_;
  MainWindowView* view_ = nullptr;
  bool resize_drag_ = false;
  guint resize_timer_ = 0;
};

}  // namespace taviro::gtk
