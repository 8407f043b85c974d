#pragma once

#include "canvas.h"

namespace taviro::skin_art {

// Button glyphs, drawn on a whole-pixel grid so that straight edges stay
// crisp at 1:1. Title-bar glyphs are designed in a 24 x 24 box, control-bar
// glyphs in a 25 x 25 box.
enum class Glyph {
  // title bar
  kMiniMode,
  kMenu,
  kMinimise,
  kMaximise,
  kRestore,
  kClose,
  kPinOff,
  kPinOn,
  // control bar
  kStop,
  kPrevious,
  kNext,
  kSoundOn,
  kMuted,
  kFullScreen,
  kOpenFile,
  kSidePanel,
};

// Draws the glyph with its design box's top-left corner at (x, y).
void DrawGlyph(cairo_t* cr, Glyph glyph, double x, double y, Rgb colour, double alpha = 1.0);

// The glyph with a one-pixel drop shadow below it.
void DrawGlyphRaised(cairo_t* cr, Glyph glyph, double x, double y, Rgb colour, Rgb shadow,
                     double shadow_alpha);

// A play triangle whose centroid is (cx, cy); size is its height.
void DrawPlayTriangle(cairo_t* cr, double cx, double cy, double size, Rgb colour, double alpha = 1.0);
// Two pause bars centred on (cx, cy), height h.
void DrawPauseBars(cairo_t* cr, double cx, double cy, double h, Rgb colour, double alpha = 1.0);
// A circular "try again" arrow centred on (cx, cy) with radius r.
void DrawRetryArrow(cairo_t* cr, double cx, double cy, double r, double line, Rgb colour);

}  // namespace taviro::skin_art
