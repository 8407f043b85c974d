#include "title_buttons.h"

#include "glyphs.h"

namespace taviro::skin_art {
namespace {

enum class Look { kRest, kHover, kPressed };

void Background(cairo_t* cr, const Skin& skin, int x) {
  skin.title.Paint(cr, x, 0, kTitleButton, kTitleButtonTop, kTitleButton);
}

void Plate(cairo_t* cr, const Skin& skin, int x, Rgb fill, double alpha) {
  RoundedRect(cr, x + 1.5, 1.5, kTitleButton - 3, kTitleButton - 3, 3);
  SetColour(cr, fill, alpha);
  cairo_fill_preserve(cr);
  SetColour(cr, skin.hover_fill, alpha * 0.9);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

// One button face: the title band, a plate when hovered or pressed, the glyph.
void Face(cairo_t* cr, const Skin& skin, int x, Glyph glyph, Look look, bool danger = false) {
  Background(cr, skin, x);
  if (look == Look::kHover && danger) {
    RoundedRect(cr, x + 1, 1, kTitleButton - 2, kTitleButton - 2, 3);
    SetVerticalGradient(cr, 1, kTitleButton - 1, Mix(skin.close_hover, Rgb::Hex(0xffffff), 0.18),
                        skin.close_hover);
    cairo_fill(cr);
    DrawGlyphRaised(cr, glyph, x, 0, Rgb::Hex(0xffffff), Rgb::Hex(0x000000), 0.35);
    return;
  }
  Rgb colour = skin.glyph;
  if (look == Look::kHover) {
    Plate(cr, skin, x, skin.hover_fill, skin.hover_alpha);
    colour = Rgb::Hex(0xffffff);
  } else if (look == Look::kPressed) {
    Plate(cr, skin, x, skin.index == 0 ? skin.accent : skin.accent_dark, skin.index == 0 ? 0.35 : 0.55);
    colour = skin.index == 0 ? skin.accent_light : Rgb::Hex(0xffffff);
  }
  DrawGlyphRaised(cr, glyph, x, 0, colour, skin.shadow, 0.6);
}

}  // namespace

Canvas DrawTitleButtons(const Skin& skin, bool hover) {
  Canvas canvas(6 * kTitleButton, kTitleButton);
  cairo_t* cr = canvas.cr();
  const Look look = hover ? Look::kHover : Look::kRest;
  Face(cr, skin, 0, Glyph::kMiniMode, look);
  Background(cr, skin, 24);  // the second tile is not used by the window
  Face(cr, skin, 48, Glyph::kMenu, look);
  Face(cr, skin, 72, Glyph::kMinimise, look);
  Face(cr, skin, 96, Glyph::kMaximise, look);
  Face(cr, skin, 120, Glyph::kClose, look, /*danger=*/true);
  return canvas;
}

Canvas DrawRestoreButton(const Skin& skin) {
  Canvas canvas(2 * kTitleButton, kTitleButton);
  Face(canvas.cr(), skin, 0, Glyph::kRestore, Look::kRest);
  Face(canvas.cr(), skin, 24, Glyph::kRestore, Look::kHover);
  return canvas;
}

Canvas DrawTopmostButton(const Skin& skin) {
  Canvas canvas(4 * kTitleButton, kTitleButton);
  cairo_t* cr = canvas.cr();
  Face(cr, skin, 0, Glyph::kPinOff, Look::kRest);
  Face(cr, skin, 24, Glyph::kPinOff, Look::kHover);
  Face(cr, skin, 48, Glyph::kPinOn, Look::kPressed);
  Face(cr, skin, 72, Glyph::kPinOn, Look::kHover);
  return canvas;
}

}  // namespace taviro::skin_art
