#pragma once

#include "playback/key_code.h"
#include "ui/control_description.h"
#include "window/region_id.h"
#include "window/window_body_mouse.h"
#include "window/window_model.h"

namespace taviro {

struct MainWindow;
struct PlaybackContext;
class ControlBar;
class ListCommands;

// The window's event table: which rule each region's pointer, key and
// window events run. Coordinates are pixels relative to the region; the
// rules that measure in twips get them converted here.
class WindowEvents {
 public:
  explicit WindowEvents(MainWindow& window) : window_(window) {}

  // The playback objects exist once start-up is through; until then their
  // regions do nothing.
  void AttachPlayback(PlaybackContext& playback, ControlBar& control_bar, ListCommands& list_commands) {
    playback_ = &playback;
    control_bar_ = &control_bar;
    list_commands_ = &list_commands;
  }

  // True when the press began an edge-resize drag; the caller reports its
  // end with ResizeDragEnded, as the window system gives no release for it.
  bool Press(RegionId region, MouseButton button, int x, int y);
  void Release(RegionId region, int x, int y);
  void Click(RegionId region);
  void DoubleClick(RegionId region);
  void PointerMove(RegionId region, int x, int y, bool left_down);
  void PointerLeave(RegionId region);
  void Resized(int width, int height);
  void StateChanged(WindowState state);
  void CloseRequest();
  // Ignored while the playback objects are missing.
  void KeyPress(KeyCode key);
  // A control pressed from the keyboard or by assistive technology: a left
  // click on it. Regions that are no button or tab are left alone.
  void Activate(RegionId region);
  // An arrow on a focused slider: the seek bar steps as the arrow keys seek,
  // the volume bar by their volume step. `up` is right or up.
  void SliderStep(RegionId region, bool up);
  // A slider set to a value, as assistive technology sets it: seconds on the
  // seek bar, percent on the volume bar.
  void SetSliderValue(RegionId region, int value);
  ControlDescription Describe(RegionId region) const;
  void ResizeDragEnded();

 private:
  bool PlaybackPress(RegionId region, MouseButton button, int x);
  void PlaybackPointerMove(RegionId region, int x, bool left_down);
  void ClickControlButton(int index);

  MainWindow& window_;
  PlaybackContext* playback_ = nullptr;
  ControlBar* control_bar_ = nullptr;
  ListCommands* list_commands_ = nullptr;
};

}  // namespace taviro
