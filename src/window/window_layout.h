#pragma once

#include "window/window_model.h"

namespace taviro {

class TextMetrics;

// What the layout reads besides the model: label sizes and the player's
// volume (0..100), which places the volume knob.
struct LayoutEnv {
  TextMetrics& text;
  int volume_percent = 0;
};

// Placement of every region from the window's client size. Each function
// only writes the model; the toolkit layer mirrors it.

// Design sizes of regions the rules read but never set (skin pictures and
// labels), applied once when the window is built.
void ApplyDesignSizes(WindowModel& model);

// The resize handler: springs a too-small normal window back to its minimum
// (13500 x 7000 twips) and lays everything out.
void LayoutWindow(WindowModel& model, const LayoutEnv& env);
void PaintFrame(WindowModel& model, const LayoutEnv& env);  // its layout part
void LayoutMainArea(WindowModel& model, const LayoutEnv& env);
void LayoutSidePanel(WindowModel& model, const LayoutEnv& env);
void LayoutTvSidePanel(WindowModel& model, const LayoutEnv& env);
void LayoutPlayerArea(WindowModel& model, const LayoutEnv& env);
void LayoutMiniMode(WindowModel& model, const LayoutEnv& env);

// A web view is placed 2 pixels outside its container on every side, so its
// own border is clipped away.
Rect FillWithBorderClipped(const Rect& container);

// The window's rounded outline in pixels: a rounded rectangle from (0, 0)
// to (width, height), one pixel beyond the window's outer size.
struct RoundRegion {
  int width = 0;
  int height = 0;
  int corner_width = 4;
  int corner_height = 4;
};
RoundRegion ApplyRoundRegion(const WindowModel& model);

}  // namespace taviro
