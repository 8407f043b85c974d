#include "extras.h"

#include <cmath>

#include "glyphs.h"

namespace taviro::skin_art {
namespace {

constexpr Rgb kWhite = Rgb::Hex(0xffffff);
constexpr Rgb kCoverBlack = Rgb::Hex(0x000000);
constexpr Rgb kTealLight = Rgb::Hex(0x6ae6f0);
constexpr Rgb kBlue = Rgb::Hex(0x1f5fc0);
constexpr Rgb kCoverText = Rgb::Hex(0xb9c1c9);
constexpr Rgb kWarm = Rgb::Hex(0xf0a23c);

// The product mark: a rounded square in a teal-to-blue sweep carrying a
// white play triangle. Drawn in a unit box, scaled to the target.
void Mark(cairo_t* cr, double x, double y, double size, Rgb from, Rgb to, Rgb glyph) {
  const double r = size * 0.22;
  RoundedRect(cr, x, y, size, size, r);
  cairo_pattern_t* sweep = cairo_pattern_create_linear(x, y, x + size, y + size);
  cairo_pattern_add_color_stop_rgb(sweep, 0, from.r / 255.0, from.g / 255.0, from.b / 255.0);
  cairo_pattern_add_color_stop_rgb(sweep, 1, to.r / 255.0, to.g / 255.0, to.b / 255.0);
  cairo_set_source(cr, sweep);
  cairo_pattern_destroy(sweep);
  cairo_fill(cr);
  // Gloss over the top half.
  cairo_save(cr);
  RoundedRect(cr, x, y, size, size, r);
  cairo_clip(cr);
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x + size, y);
  cairo_line_to(cr, x + size, y + size * 0.38);
  cairo_curve_to(cr, x + size * 0.6, y + size * 0.5, x + size * 0.3, y + size * 0.52, x, y + size * 0.58);
  cairo_close_path(cr);
  cairo_pattern_t* gloss = cairo_pattern_create_linear(0, y, 0, y + size * 0.58);
  cairo_pattern_add_color_stop_rgba(gloss, 0, 1, 1, 1, 0.42);
  cairo_pattern_add_color_stop_rgba(gloss, 1, 1, 1, 1, 0.06);
  cairo_set_source(cr, gloss);
  cairo_pattern_destroy(gloss);
  cairo_fill(cr);
  cairo_restore(cr);
  DrawPlayTriangle(cr, x + size * 0.53, y + size * 0.5, size * 0.42, glyph);
}

void LoadingFrame(cairo_t* cr, int frame, double x) {
  constexpr int kDots = 12;
  constexpr double kRing = 8.5;
  constexpr TextStyle kStyle{.px = 13, .bold = false};
  const int text = TextWidth(cr, kLoadingText, kStyle);
  const double group = 2 * kRing + 6 + 10 + text;
  const double left = std::round(x + (kCoverWidth - group) / 2);
  const double cx = left + kRing + 3;
  const double cy = kCoverHeight / 2.0;
  for (int i = 0; i < kDots; ++i) {
    // The head runs clockwise, one dot per frame, with a fading tail.
    const int age = ((frame - i) % kDots + kDots) % kDots;
    const double strength = std::max(0.0, 1.0 - age / 7.0);
    const double a = -kPi / 2 + i * 2 * kPi / kDots;
    cairo_arc(cr, cx + kRing * std::cos(a), cy + kRing * std::sin(a), 1.3 + 0.9 * strength, 0, 2 * kPi);
    SetColour(cr, Mix(Rgb::Hex(0x3a3f45), kTealLight, strength));
    cairo_fill(cr);
  }
  DrawTextLeft(cr, kLoadingText, kStyle, cx + kRing + 13, cy, kCoverText);
}

}  // namespace

Canvas DrawLogo(const Skin& skin) {
  Canvas canvas(24, 24);
  cairo_t* cr = canvas.cr();
  // The logo sits 7 pixels down the title band.
  skin.title.Paint(cr, 0, 0, 24, 7, 24);
  cairo_arc(cr, 12, 12.6, 11, 0, 2 * kPi);
  SetColour(cr, skin.shadow, 0.35);
  cairo_fill(cr);
  if (skin.index == 0) {
    Mark(cr, 1.5, 1.5, 21, kTealLight, Rgb::Hex(0x0d6f96), kWhite);
  } else {
    Mark(cr, 1.5, 1.5, 21, kWhite, Rgb::Hex(0xa9d6fb), kBlue);
  }
  return canvas;
}

Canvas DrawLoadingStrip() {
  Canvas canvas(kLoadingFrames * kCoverWidth, kCoverHeight);
  FillRect(canvas.cr(), 0, 0, canvas.width(), canvas.height(), kCoverBlack);
  for (int frame = 0; frame < kLoadingFrames; ++frame) LoadingFrame(canvas.cr(), frame, frame * kCoverWidth);
  return canvas;
}

Canvas DrawErrorPicture() {
  Canvas canvas(kCoverWidth, kCoverHeight);
  cairo_t* cr = canvas.cr();
  FillRect(cr, 0, 0, kCoverWidth, kCoverHeight, kCoverBlack);
  // A quiet rounded plate marks the whole picture as a button.
  RoundedRect(cr, 4.5, 8.5, kCoverWidth - 9, kCoverHeight - 17, 6);
  SetColour(cr, Rgb::Hex(0x1a1c1f));
  cairo_fill_preserve(cr);
  SetColour(cr, Rgb::Hex(0x3a3f45));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  constexpr TextStyle kStyle{.px = 13, .bold = false};
  const int text = TextWidth(cr, kErrorText, kStyle);
  const double group = 18 + 8 + text;
  const double left = std::round((kCoverWidth - group) / 2);
  const double cy = kCoverHeight / 2.0;
  DrawRetryArrow(cr, left + 9, cy, 6.5, 2, kWarm);
  DrawTextLeft(cr, kErrorText, kStyle, left + 26, cy, Rgb::Hex(0xe6eaee));
  return canvas;
}

Canvas DrawAppIcon(int size) {
  Canvas canvas(size, size);
  cairo_t* cr = canvas.cr();
  const double s = size;
  const double inset = s * 0.06;
  // A soft drop shadow under the tile.
  for (int i = 4; i >= 1; --i) {
    RoundedRect(cr, inset - i * s * 0.006, inset + s * 0.02, s - 2 * inset + 2 * i * s * 0.006,
                s - 2 * inset + i * s * 0.006, s * 0.2);
    SetColour(cr, Rgb::Hex(0x000000), 0.06);
    cairo_fill(cr);
  }
  Mark(cr, inset, inset, s - 2 * inset, kTealLight, Rgb::Hex(0x1546a8), kWhite);
  // A thin ring around the triangle, as on a play button.
  cairo_arc(cr, s * 0.5, s * 0.5, s * 0.3, 0, 2 * kPi);
  SetColour(cr, kWhite, 0.35);
  cairo_set_line_width(cr, s * 0.03);
  cairo_stroke(cr);
  return canvas;
}

Canvas DrawPausePicture(const Skin& skin) {
  Canvas canvas(90, 38);
  cairo_t* cr = canvas.cr();
  FillRect(cr, 0, 0, 90, 38, kCoverBlack);
  RoundedRect(cr, 0.5, 0.5, 89, 37, 7);
  SetVerticalGradient(cr, 0, 38, Rgb::Hex(0x2c3036), Rgb::Hex(0x15171a));
  cairo_fill_preserve(cr);
  SetColour(cr, Rgb::Hex(0x4a4f57));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_arc(cr, 18, 19, 10, 0, 2 * kPi);
  SetVerticalGradient(cr, 9, 29, skin.accent_light, skin.accent_dark);
  cairo_fill(cr);
  DrawPlayTriangle(cr, 19, 19, 9, kWhite);
  DrawTextLeft(cr, kPauseText, TextStyle{.px = 12, .bold = true}, 34, 19, Rgb::Hex(0xeef2f5));
  return canvas;
}

}  // namespace taviro::skin_art
