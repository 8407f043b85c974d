#pragma once

#include "ports/window_host.h"
#include "ui/control_description.h"
#include "window/region_id.h"

namespace taviro::gtk {

// What the window view reports, in the window's own terms. The controller
// turns these into the core's handlers.
class WindowViewEvents {
 public:
  virtual ~WindowViewEvents() = default;
  // `button` 1 = left, 2 = middle, 3 = right; x, y relative to the region.
  virtual void OnPress(RegionId region, int button, int x, int y) = 0;
  virtual void OnRelease(RegionId region, int button, int x, int y) = 0;
  // A left or right press and release over the same region.
  virtual void OnClick(RegionId region) = 0;
  virtual void OnDoubleClick(RegionId region) = 0;
  virtual void OnPointerMove(RegionId region, int x, int y, bool left_down) = 0;
  virtual void OnPointerLeave(RegionId region) = 0;
  // The window's new outer size in pixels.
  virtual void OnResized(int width, int height) = 0;
  virtual void OnStateChanged(WindowState state) = 0;
  // The user asked the window system to close the window.
  virtual void OnCloseRequest() = 0;
  virtual void OnKeyPress(unsigned key_value, unsigned modifiers) = 0;
  // Space or Enter on the focused control, or its action run by assistive
  // technology.
  virtual void OnActivate(RegionId region) = 0;
  // An arrow on the focused slider; `up` for right and up.
  virtual void OnSliderStep(RegionId region, bool up) = 0;
  // What the control is now, for assistive technology.
  virtual ControlDescription Describe(RegionId region) = 0;
};

}  // namespace taviro::gtk
