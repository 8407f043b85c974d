#include "linux/gtk/pango_text_metrics.h"

#include <string>

namespace taviro::gtk {

PangoTextMetrics::PangoTextMetrics(GtkWidget* reference)
    : layout_(GObjectPtr<PangoLayout>::Adopt(gtk_widget_create_pango_layout(reference, ""))) {
  PangoFontDescription* font = pango_font_description_from_string("Sans 12px");
  pango_layout_set_font_description(layout_.get(), font);
  pango_font_description_free(font);
}

TextSize PangoTextMetrics::MeasureLabel(std::string_view text) {
  const std::string copy(text);
  pango_layout_set_text(layout_.get(), copy.c_str(), -1);
  int width = 0;
  int height = 0;
  pango_layout_get_pixel_size(layout_.get(), &width, &height);
  return {width, height};
}

}  // namespace taviro::gtk
