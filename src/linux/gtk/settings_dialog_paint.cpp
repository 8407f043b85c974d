#include "linux/gtk/settings_dialog_paint.h"

#include <cstdio>

#include "linux/gtk/region_kinds.h"
#include "ui/settings/settings_dialog_design.h"

namespace taviro::gtk {

std::string TabCss(bool selected) {
  const TabLook look = TabLookOf(selected);
  char css[256];
  std::snprintf(css, sizeof css,
                "button { background-image: none; background-color: #%06X; color: #%06X; border: none; "
                "border-radius: 0; box-shadow: none; text-shadow: none; transition: none; }",
                ToRgb(look.background), ToRgb(look.text));
  return css;
}

void SetLinkLook(GtkWidget* label, bool hot) {
  const LinkLook look = LinkLookOf(hot);
  const std::uint32_t rgb = ToRgb(look.text);
  PangoAttrList* attributes = pango_attr_list_new();
  pango_attr_list_insert(attributes,
                         pango_attr_foreground_new(static_cast<guint16>(((rgb >> 16U) & 0xFFU) * 257U),
                                                   static_cast<guint16>(((rgb >> 8U) & 0xFFU) * 257U),
                                                   static_cast<guint16>((rgb & 0xFFU) * 257U)));
  if (look.underlined) pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  gtk_label_set_attributes(GTK_LABEL(label), attributes);
  pango_attr_list_unref(attributes);
}

void ApplyShape(GtkWidget* window, int width, int height) {
  cairo_region_t* region = cairo_region_create();
  const cairo_rectangle_int_t body{0, 1, width, height - 2};
  const cairo_rectangle_int_t top{1, 0, width - 2, 1};
  const cairo_rectangle_int_t bottom{1, height - 1, width - 2, 1};
  cairo_region_union_rectangle(region, &body);
  cairo_region_union_rectangle(region, &top);
  cairo_region_union_rectangle(region, &bottom);
  gtk_widget_shape_combine_region(window, region);
  cairo_region_destroy(region);
}

}  // namespace taviro::gtk
