#pragma once

#include "canvas.h"

namespace taviro::skin_art {

// The look of one skin. The three ramps are the strips the window stretches
// (title band, control bar, side-panel header); every tile that lies on one
// of them repeats its rows.
struct Skin {
  int index = 0;
  RowRamp title;   // frame rows 0..38: the title band under the tabs and title buttons
  RowRamp bar;     // the 43 rows of the control bar
  RowRamp header;  // the 28 rows of the side-panel header
  Rgb edge_outer;  // the 2-pixel window border, outer and inner line
  Rgb edge_inner;
  Rgb body;  // frame interior that the pages cover

  Rgb glyph;        // button glyphs at rest
  Rgb glyph_hover;  // control-bar glyphs under the pointer
  Rgb accent;       // the skin's signature colour
  Rgb accent_light;
  Rgb accent_dark;
  Rgb hover_fill;  // the plate behind a title-bar glyph under the pointer
  double hover_alpha = 0.0;
  Rgb close_hover;

  Rgb tab_text;           // tab label at rest
  Rgb tab_text_selected;  // tab label of the selected tab
  Rgb tab_fill_top;       // selected tab body
  Rgb tab_fill_bottom;
  Rgb tab_rim;  // selected tab outline
  Rgb shadow;   // one-pixel text and glyph shadow
};

Skin DarkSkin();  // skin 0
Skin BlueSkin();  // skin 1

}  // namespace taviro::skin_art
