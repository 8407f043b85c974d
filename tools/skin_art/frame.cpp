#include "frame.h"

namespace taviro::skin_art {
namespace {

constexpr int kWidth = 80;
constexpr int kHeight = 108;
constexpr double kCorner = 5;

void PaintBody(cairo_t* cr, const Skin& skin) {
  skin.title.Paint(cr, 0, 0, kWidth, 0, kTitleBand);
  FillRect(cr, 0, kTitleBand, kWidth, kHeight - kTitleBand, skin.body);
}

void StrokeEdges(cairo_t* cr, const Skin& skin) {
  cairo_set_line_width(cr, 1);
  RoundedRect(cr, 0.5, 0.5, kWidth - 1, kHeight - 1, kCorner);
  SetColour(cr, skin.edge_outer);
  cairo_stroke(cr);
  RoundedRect(cr, 1.5, 1.5, kWidth - 3, kHeight - 3, kCorner - 1);
  SetColour(cr, skin.edge_inner);
  cairo_stroke(cr);
}

}  // namespace

Canvas DrawFrame(const Skin& skin) {
  Canvas canvas(kWidth, kHeight);
  cairo_t* cr = canvas.cr();
  // Everything outside the rounded outline stays transparent.
  cairo_save(cr);
  RoundedRect(cr, 0, 0, kWidth, kHeight, kCorner);
  cairo_clip(cr);
  PaintBody(cr, skin);
  cairo_restore(cr);
  StrokeEdges(cr, skin);
  return canvas;
}

}  // namespace taviro::skin_art
