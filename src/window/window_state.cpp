#include "window/window_state.h"

#include <algorithm>

#include "window/main_window.h"
#include "window/window_layout.h"

namespace taviro {
namespace {

// Lays out and, when the layout sprang the window back to a minimum, asks
// the system for the size the model now holds.
void LayOutAndApplySize(MainWindow& window, int requested_width_px, int requested_height_px) {
  WindowModel& model = window.model;
  LayoutWindow(model, window.Env());
  if (model.ClientWidth() != requested_width_px || model.ClientHeight() != requested_height_px) {
    window.ports.host.Resize(model.ClientWidth(), model.ClientHeight());
  }
}

// No screen is wider or higher than X11's 32767 pixels; a size read from the
// settings file may be anything an int holds, and the layout adds to it.
constexpr int kMaxOuterTwips = 32767 * kTwipsPerPixel;

int SaneOuterTwips(int twips) { return std::clamp(twips, 0, kMaxOuterTwips); }

// A size asked for beyond the work area (saved on a larger screen) would
// put the title bar's buttons out of reach.
void CapToSizeLimits(WindowModel& model) {
  const SizeLimits& limits = model.size_limits;
  if (limits.max_width > 0)
    model.width_twips = std::min(model.width_twips, limits.max_width * kTwipsPerPixel);
  if (limits.max_height > 0)
    model.height_twips = std::min(model.height_twips, limits.max_height * kTwipsPerPixel);
}

}  // namespace

void SetWindowState(MainWindow& window, WindowState state) {
  window.model.state = state;
  window.ports.host.SetState(state);
}

void SetWindowShown(MainWindow& window, bool shown) {
  window.model.shown = shown;
  window.ports.host.SetVisible(shown);
}

void SetOuterSize(MainWindow& window, std::optional<int> width_twips, std::optional<int> height_twips) {
  WindowModel& model = window.model;
  if (width_twips) model.width_twips = SaneOuterTwips(*width_twips);
  if (height_twips) model.height_twips = SaneOuterTwips(*height_twips);
  CapToSizeLimits(model);
  LayoutWindow(model, window.Env());
  window.ports.host.Resize(model.ClientWidth(), model.ClientHeight());
}

void MoveOuter(MainWindow& window, int left_twips, int top_twips) {
  window.model.left_twips = left_twips;
  window.model.top_twips = top_twips;
  window.ports.host.Move(left_twips / kTwipsPerPixel, top_twips / kTwipsPerPixel);
}

void OnWindowStateChanged(MainWindow& window, WindowState state) { window.model.state = state; }

void OnWindowResized(MainWindow& window, int width_pixels, int height_pixels) {
  WindowModel& model = window.model;
  // Our own requests come back here; the model already holds their size and
  // layout. Comparing in pixels keeps twips that are not a whole number of
  // pixels (5900 / 15) from looking like a change.
  if (model.ClientWidth() == width_pixels && model.ClientHeight() == height_pixels) return;
  model.width_twips = width_pixels * kTwipsPerPixel;
  model.height_twips = height_pixels * kTwipsPerPixel;
  LayOutAndApplySize(window, width_pixels, height_pixels);
}

}  // namespace taviro
