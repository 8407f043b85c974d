#include "control_bar.h"

#include "glyphs.h"

namespace taviro::skin_art {
namespace {

constexpr int kPlayWidth = 58;
constexpr double kPlayRadius = 16;
constexpr double kKnobSize = 10;

void SmallBackground(cairo_t* cr, const Skin& skin, int x) {
  skin.bar.Paint(cr, x, 0, kBarButton, kBarButtonTop, kBarButton);
}

void SmallFace(cairo_t* cr, const Skin& skin, int x, Glyph glyph, bool hover) {
  SmallBackground(cr, skin, x);
  if (hover) {
    Glow(cr, x + 12.5, 12.5, 11.5, skin.index == 0 ? skin.accent : Rgb::Hex(0xffffff),
         skin.index == 0 ? 0.32 : 0.42);
    DrawGlyphRaised(cr, glyph, x, 0, skin.glyph_hover, skin.shadow, 0.7);
  } else {
    DrawGlyphRaised(cr, glyph, x, 0, skin.glyph, skin.shadow, 0.7);
  }
}

void PlayDisc(cairo_t* cr, const Skin& skin, double cx, double cy, bool hover) {
  if (hover) Glow(cr, cx, cy, kPlayRadius + 5, skin.index == 0 ? skin.accent : Rgb::Hex(0xffffff), 0.55);
  // Dark seat around the disc, then the disc itself.
  cairo_arc(cr, cx, cy + 0.5, kPlayRadius + 1, 0, 2 * kPi);
  SetColour(cr, skin.shadow, 0.55);
  cairo_fill(cr);
  const Rgb top = skin.index == 0 ? skin.accent_light : Rgb::Hex(0xffffff);
  const Rgb bottom = skin.index == 0 ? skin.accent_dark : Rgb::Hex(0xa9d2f5);
  const double lift = hover ? 0.15 : 0.0;
  cairo_arc(cr, cx, cy, kPlayRadius, 0, 2 * kPi);
  SetVerticalGradient(cr, cy - kPlayRadius, cy + kPlayRadius, Mix(top, Rgb::Hex(0xffffff), lift),
                      Mix(bottom, top, lift));
  cairo_fill(cr);
  // Gloss on the upper half.
  cairo_save(cr);
  cairo_translate(cr, cx, cy - kPlayRadius * 0.42);
  cairo_scale(cr, 1.0, 0.62);
  cairo_arc(cr, 0, 0, kPlayRadius * 0.78, 0, 2 * kPi);
  cairo_restore(cr);
  cairo_pattern_t* gloss = cairo_pattern_create_linear(0, cy - kPlayRadius, 0, cy);
  cairo_pattern_add_color_stop_rgba(gloss, 0, 1, 1, 1, skin.index == 0 ? 0.45 : 0.9);
  cairo_pattern_add_color_stop_rgba(gloss, 1, 1, 1, 1, 0.0);
  cairo_set_source(cr, gloss);
  cairo_pattern_destroy(gloss);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, kPlayRadius - 0.5, 0, 2 * kPi);
  SetColour(cr, skin.index == 0 ? skin.accent_dark : skin.tab_rim, 0.9);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void PlayFace(cairo_t* cr, const Skin& skin, int x, bool pause, bool hover) {
  skin.bar.Paint(cr, x, 0, kPlayWidth, 0, kBarHeight);
  const double cx = x + kPlayWidth / 2.0;
  const double cy = kBarHeight / 2.0;
  PlayDisc(cr, skin, cx, cy, hover);
  const Rgb glyph = skin.index == 0 ? Rgb::Hex(0xffffff) : skin.accent_dark;
  const Rgb shade = skin.index == 0 ? skin.accent_dark : Rgb::Hex(0xffffff);
  if (pause) {
    DrawPauseBars(cr, cx, cy + 1, 14, shade, 0.8);
    DrawPauseBars(cr, cx, cy, 14, glyph);
  } else {
    DrawPlayTriangle(cr, cx + 1, cy + 1, 14, shade, 0.8);
    DrawPlayTriangle(cr, cx + 1, cy, 14, glyph);
  }
}

void Groove(cairo_t* cr, const Skin& skin, double x, double y, double w) {
  const Rgb deep = skin.index == 0 ? Rgb::Hex(0x050607) : skin.accent_dark;
  FillRect(cr, x, y, w, 1, deep, 0.8);
  FillRect(cr, x, y + 1, w, 2, deep, skin.index == 0 ? 0.9 : 0.6);
  FillRect(cr, x, y + 3, w, 1, Rgb::Hex(0xffffff), skin.index == 0 ? 0.1 : 0.35);
}

}  // namespace

Canvas DrawBarStrip(const Skin& skin) {
  Canvas canvas(1, kBarHeight);
  skin.bar.Paint(canvas.cr(), 0, 0, 1, 0, kBarHeight);
  return canvas;
}

Canvas DrawVolumeKnob(const Skin& skin) {
  Canvas canvas(10, 10);
  cairo_t* cr = canvas.cr();
  skin.bar.Paint(cr, 0, 0, 10, kBarButtonTop + kKnobTop, 10);
  Groove(cr, skin, 0, kGrooveTop - kKnobTop, 10);
  const double c = kKnobSize / 2;
  cairo_arc(cr, c, c, 4.5, 0, 2 * kPi);
  SetColour(cr, skin.shadow, 0.8);
  cairo_fill(cr);
  cairo_arc(cr, c, c, 3.7, 0, 2 * kPi);
  const Rgb top = Rgb::Hex(0xffffff);
  const Rgb bottom = skin.index == 0 ? Rgb::Hex(0xa3adb6) : Rgb::Hex(0xbcdcf8);
  SetVerticalGradient(cr, 1, 9, top, bottom);
  cairo_fill(cr);
  cairo_arc(cr, c, c, 1.3, 0, 2 * kPi);
  SetColour(cr, skin.index == 0 ? skin.accent : skin.accent_dark);
  cairo_fill(cr);
  return canvas;
}

Canvas DrawVolumeBar(const Skin& skin) {
  Canvas canvas(80, 24);
  cairo_t* cr = canvas.cr();
  skin.bar.Paint(cr, 0, 0, 80, kBarButtonTop, 24);
  Groove(cr, skin, 0, kGrooveTop, 80);
  return canvas;
}

Canvas DrawPlayPause(const Skin& skin) {
  Canvas canvas(4 * kPlayWidth, kBarHeight);
  cairo_t* cr = canvas.cr();
  PlayFace(cr, skin, 0, /*pause=*/false, /*hover=*/false);
  PlayFace(cr, skin, 58, false, true);
  PlayFace(cr, skin, 116, true, false);
  PlayFace(cr, skin, 174, true, true);
  return canvas;
}

Canvas DrawStopButton(const Skin& skin) {
  Canvas canvas(2 * kBarButton, kBarButton);
  SmallFace(canvas.cr(), skin, 0, Glyph::kStop, false);
  SmallFace(canvas.cr(), skin, 25, Glyph::kStop, true);
  return canvas;
}

Canvas DrawMuteButton(const Skin& skin) {
  Canvas canvas(4 * kBarButton, kBarButton);
  cairo_t* cr = canvas.cr();
  SmallFace(cr, skin, 0, Glyph::kSoundOn, false);
  SmallFace(cr, skin, 25, Glyph::kSoundOn, true);
  SmallFace(cr, skin, 50, Glyph::kMuted, false);
  SmallFace(cr, skin, 75, Glyph::kMuted, true);
  return canvas;
}

Canvas DrawToolButtons(const Skin& skin, bool hover) {
  Canvas canvas(4 * kBarButton, kBarButton);
  cairo_t* cr = canvas.cr();
  SmallBackground(cr, skin, 0);  // the first tile is not used by the window
  SmallFace(cr, skin, 25, Glyph::kOpenFile, hover);
  SmallFace(cr, skin, 50, Glyph::kFullScreen, hover);
  SmallFace(cr, skin, 75, Glyph::kSidePanel, hover);
  return canvas;
}

Canvas DrawEpisodeButtons(const Skin& skin) {
  Canvas canvas(4 * kBarButton, kBarButton);
  cairo_t* cr = canvas.cr();
  SmallFace(cr, skin, 0, Glyph::kPrevious, false);
  SmallFace(cr, skin, 25, Glyph::kPrevious, true);
  SmallFace(cr, skin, 50, Glyph::kNext, false);
  SmallFace(cr, skin, 75, Glyph::kNext, true);
  return canvas;
}

}  // namespace taviro::skin_art
