#pragma once

#include <gtk/gtk.h>

#include <cstdint>

#include "window/window_model.h"

namespace taviro::gtk {

// Painting shared by the windows drawn from the skin. Colours are 0xRRGGBB.
void SetRgb(cairo_t* cr, std::uint32_t rgb);
void FillRect(cairo_t* cr, const Rect& rect, std::uint32_t rgb);

// Copies `source` of `picture` to `destination`, stretched where the sizes
// differ; nearest-neighbour keeps the tiles' one-pixel edges crisp.
void DrawPicturePart(cairo_t* cr, GdkPixbuf* picture, const Rect& source, const Rect& destination);

}  // namespace taviro::gtk
