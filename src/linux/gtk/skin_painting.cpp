#include "linux/gtk/skin_painting.h"

namespace taviro::gtk {

void SetRgb(cairo_t* cr, std::uint32_t rgb) {
  cairo_set_source_rgb(cr, ((rgb >> 16U) & 0xFFU) / 255.0, ((rgb >> 8U) & 0xFFU) / 255.0,
                       (rgb & 0xFFU) / 255.0);
}

void FillRect(cairo_t* cr, const Rect& rect, std::uint32_t rgb) {
  SetRgb(cr, rgb);
  cairo_rectangle(cr, rect.left, rect.top, rect.width, rect.height);
  cairo_fill(cr);
}

void DrawPicturePart(cairo_t* cr, GdkPixbuf* picture, const Rect& source, const Rect& destination) {
  if (picture == nullptr || source.width <= 0 || source.height <= 0 || destination.width <= 0 ||
      destination.height <= 0) {
    return;
  }
  cairo_save(cr);
  cairo_rectangle(cr, destination.left, destination.top, destination.width, destination.height);
  cairo_clip(cr);
  cairo_translate(cr, destination.left, destination.top);
  cairo_scale(cr, static_cast<double>(destination.width) / source.width,
              static_cast<double>(destination.height) / source.height);
  gdk_cairo_set_source_pixbuf(cr, picture, -source.left, -source.top);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_restore(cr);
}

}  // namespace taviro::gtk
