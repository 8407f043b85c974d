#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <string>

#include "ui/main/window_model.h"

namespace taviro::gtk {

// Painting helpers of the settings dialog window. Colours here are 0xRRGGBB.
void SetRgb(cairo_t* cr, std::uint32_t rgb);
void FillRect(cairo_t* cr, const Rect& rect, std::uint32_t rgb);

// Copies `source` of `picture` to `destination`, stretched where the sizes
// differ; nearest-neighbour keeps the tiles' edges crisp.
void DrawPicturePart(cairo_t* cr, GdkPixbuf* picture, const Rect& source, const Rect& destination);

// A page tab's style sheet, selected or not.
std::string TabCss(bool selected);

// The web-site link's colour and underline, under the pointer or not.
void SetLinkLook(GtkWidget* label, bool hot);

// The outline: a rectangle with each corner pixel cut away.
void ApplyShape(GtkWidget* window, int width, int height);

}  // namespace taviro::gtk
