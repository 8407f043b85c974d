#include "glyphs.h"

#include <cmath>

namespace taviro::skin_art {
namespace {

void Box(cairo_t* cr, double x, double y, double w, double h) { cairo_rectangle(cr, x, y, w, h); }

// A rectangle outline on whole pixels, `top` pixels thick at the top and
// one pixel elsewhere, the way window-control glyphs are usually cut.
void Outline(cairo_t* cr, double x, double y, double w, double h, double top) {
  Box(cr, x, y, w, top);
  Box(cr, x, y + h - 1, w, 1);
  Box(cr, x, y, 1, h);
  Box(cr, x + w - 1, y, 1, h);
}

void Triangle(cairo_t* cr, double x0, double y0, double x1, double y1, double x2, double y2) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_close_path(cr);
}

void Cross(cairo_t* cr, double cx, double cy, double half, double line) {
  cairo_set_line_width(cr, line);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, cx - half, cy - half);
  cairo_line_to(cr, cx + half, cy + half);
  cairo_move_to(cr, cx + half, cy - half);
  cairo_line_to(cr, cx - half, cy + half);
  cairo_stroke(cr);
}

void Pin(cairo_t* cr, bool on) {
  if (on) {
    Box(cr, 9, 5, 6, 7);
  } else {
    Outline(cr, 9, 5, 6, 7, 1);
  }
  Box(cr, 7, 12, 10, 2);
  Box(cr, 11, 14, 2, 5);
  cairo_fill(cr);
}

void Restore(cairo_t* cr) {
  // The back window shows only where the front one does not cover it.
  cairo_save(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  Box(cr, 0, 0, 24, 24);
  Box(cr, 6, 9, 9, 9);
  cairo_clip(cr);
  Outline(cr, 9, 6, 9, 9, 2);
  cairo_fill(cr);
  cairo_restore(cr);
  Outline(cr, 6, 9, 9, 9, 2);
  cairo_fill(cr);
}

void Speaker(cairo_t* cr) {
  Box(cr, 5, 10, 3, 5);
  cairo_move_to(cr, 8, 10);
  cairo_line_to(cr, 12, 6.5);
  cairo_line_to(cr, 12, 18.5);
  cairo_line_to(cr, 8, 15);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void SoundWaves(cairo_t* cr) {
  cairo_set_line_width(cr, 1.5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (const double r : {3.5, 6.5}) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, 12, 12.5, r, -kPi / 4, kPi / 4);
  }
  cairo_stroke(cr);
}

void FullScreen(cairo_t* cr) {
  constexpr double kLo = 6;
  constexpr double kHi = 17;  // far corners start here (19 - 2)
  constexpr double kArm = 5;
  Box(cr, kLo, kLo, kArm, 2);
  Box(cr, kLo, kLo, 2, kArm);
  Box(cr, kHi + 2 - kArm, kLo, kArm, 2);
  Box(cr, kHi, kLo, 2, kArm);
  Box(cr, kLo, kHi, kArm, 2);
  Box(cr, kLo, kHi + 2 - kArm, 2, kArm);
  Box(cr, kHi + 2 - kArm, kHi, kArm, 2);
  Box(cr, kHi, kHi + 2 - kArm, 2, kArm);
  cairo_fill(cr);
}

void Folder(cairo_t* cr) {
  cairo_move_to(cr, 5, 7);
  cairo_line_to(cr, 10, 7);
  cairo_line_to(cr, 12, 9);
  cairo_line_to(cr, 20, 9);
  cairo_line_to(cr, 20, 10);
  cairo_line_to(cr, 5, 10);
  cairo_close_path(cr);
  Box(cr, 5, 11, 15, 7);
  cairo_fill(cr);
}

void List(cairo_t* cr) {
  for (const double y : {7.0, 11.0, 15.0}) {
    Box(cr, 6, y + 1, 2, 2);
    Box(cr, 10, y + 1, 9, 2);
  }
  cairo_fill(cr);
}

void Skip(cairo_t* cr, bool forward) {
  // Drawn facing back; mirrored for "next".
  if (forward) {
    cairo_translate(cr, 25, 0);
    cairo_scale(cr, -1, 1);
  }
  Box(cr, 6, 8, 2, 9);
  Triangle(cr, 8, 12.5, 13, 8, 13, 17);
  Triangle(cr, 13, 12.5, 18, 8, 18, 17);
  cairo_fill(cr);
}

void Shape(cairo_t* cr, Glyph glyph) {
  switch (glyph) {
    case Glyph::kMiniMode:
      Outline(cr, 6, 7, 12, 10, 2);
      Box(cr, 11, 11, 5, 4);
      cairo_fill(cr);
      break;
    case Glyph::kMenu:
      Box(cr, 7, 7, 10, 2);
      Box(cr, 7, 11, 10, 2);
      Box(cr, 7, 15, 10, 2);
      cairo_fill(cr);
      break;
    case Glyph::kMinimise:
      Box(cr, 7, 15, 10, 2);
      cairo_fill(cr);
      break;
    case Glyph::kMaximise:
      Outline(cr, 7, 7, 10, 10, 2);
      cairo_fill(cr);
      break;
    case Glyph::kRestore: Restore(cr); break;
    case Glyph::kClose: Cross(cr, 12, 12, 4.2, 1.7); break;
    case Glyph::kPinOff:
    case Glyph::kPinOn: Pin(cr, glyph == Glyph::kPinOn); break;
    case Glyph::kStop:
      RoundedRect(cr, 8, 8, 9, 9, 1.5);
      cairo_fill(cr);
      break;
    case Glyph::kPrevious:
    case Glyph::kNext: Skip(cr, glyph == Glyph::kNext); break;
    case Glyph::kSoundOn:
      Speaker(cr);
      SoundWaves(cr);
      break;
    case Glyph::kMuted:
      Speaker(cr);
      Cross(cr, 17, 12.5, 2.6, 1.6);
      break;
    case Glyph::kFullScreen: FullScreen(cr); break;
    case Glyph::kOpenFile: Folder(cr); break;
    case Glyph::kSidePanel: List(cr); break;
  }
}

}  // namespace

void DrawGlyph(cairo_t* cr, Glyph glyph, double x, double y, Rgb colour, double alpha) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  SetColour(cr, colour, alpha);
  Shape(cr, glyph);
  cairo_restore(cr);
}

void DrawGlyphRaised(cairo_t* cr, Glyph glyph, double x, double y, Rgb colour, Rgb shadow,
                     double shadow_alpha) {
  DrawGlyph(cr, glyph, x, y + 1, shadow, shadow_alpha);
  DrawGlyph(cr, glyph, x, y, colour);
}

void DrawPlayTriangle(cairo_t* cr, double cx, double cy, double size, Rgb colour, double alpha) {
  const double w = size * 0.866;  // equilateral
  const double left = cx - w / 3;
  SetColour(cr, colour, alpha);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, size * 0.08);
  Triangle(cr, left, cy - size / 2, left, cy + size / 2, left + w, cy);
  cairo_fill_preserve(cr);
  cairo_stroke(cr);
}

void DrawPauseBars(cairo_t* cr, double cx, double cy, double h, Rgb colour, double alpha) {
  const double bar = std::round(h * 0.3);
  const double gap = std::round(h * 0.3);
  const double top = std::round(cy - h / 2);
  const double left = std::round(cx - bar - gap / 2);
  SetColour(cr, colour, alpha);
  RoundedRect(cr, left, top, bar, h, 1);
  RoundedRect(cr, left + bar + gap, top, bar, h, 1);
  cairo_fill(cr);
}

void DrawRetryArrow(cairo_t* cr, double cx, double cy, double r, double line, Rgb colour) {
  SetColour(cr, colour);
  cairo_set_line_width(cr, line);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const double start = -kPi / 2 + 0.5;
  const double end = start + 2 * kPi - 1.3;
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, start, end);
  cairo_stroke(cr);
  // Arrow head at the open end, pointing along the turn.
  const double ex = cx + r * std::cos(end);
  const double ey = cy + r * std::sin(end);
  const double tx = -std::sin(end);  // tangent, direction of travel
  const double ty = std::cos(end);
  const double head = line * 2.4;
  cairo_move_to(cr, ex + tx * head, ey + ty * head);
  cairo_line_to(cr, ex - ty * head * 0.9, ey + tx * head * 0.9);
  cairo_line_to(cr, ex + ty * head * 0.9, ey - tx * head * 0.9);
  cairo_close_path(cr);
  cairo_fill(cr);
}

}  // namespace taviro::skin_art
