#include "canvas.h"

#include <glib-object.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace taviro::skin_art {
namespace {

constexpr const char* kFontFamily = "WenQuanYi Micro Hei";

std::uint8_t Channel(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

double Unit(std::uint8_t v) { return v / 255.0; }

struct LayoutDeleter {
  void operator()(PangoLayout* l) const { g_object_unref(l); }
};
struct FontDeleter {
  void operator()(PangoFontDescription* f) const { pango_font_description_free(f); }
};
struct FontOptionsDeleter {
  void operator()(cairo_font_options_t* o) const { cairo_font_options_destroy(o); }
};
using Layout = std::unique_ptr<PangoLayout, LayoutDeleter>;

Layout MakeLayout(cairo_t* cr, std::string_view text, TextStyle style) {
  Layout layout(pango_cairo_create_layout(cr));
  // Hinted grey antialiasing keeps small CJK strokes sharp at 1:1.
  std::unique_ptr<cairo_font_options_t, FontOptionsDeleter> options(cairo_font_options_create());
  cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(pango_layout_get_context(layout.get()), options.get());
  pango_layout_context_changed(layout.get());

  std::unique_ptr<PangoFontDescription, FontDeleter> font(pango_font_description_new());
  pango_font_description_set_family(font.get(), kFontFamily);
  pango_font_description_set_absolute_size(font.get(), style.px * PANGO_SCALE);
  pango_font_description_set_weight(font.get(), style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_layout_set_font_description(layout.get(), font.get());
  pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
  return layout;
}

PangoRectangle InkBox(PangoLayout* layout) {
  PangoRectangle ink{};
  pango_layout_get_pixel_extents(layout, &ink, nullptr);
  return ink;
}

void ShowLayout(cairo_t* cr, PangoLayout* layout, double x, double y, Rgb colour, double alpha) {
  cairo_save(cr);
  SetColour(cr, colour, alpha);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
  cairo_restore(cr);
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  auto mix = [t](std::uint8_t x, std::uint8_t y) { return Channel(x + (y - x) * t); };
  return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

RowRamp::RowRamp(int rows, std::initializer_list<std::pair<int, Rgb>> stops)
    : colours_(static_cast<std::size_t>(rows)) {
  const std::vector<std::pair<int, Rgb>> s(stops);
  for (int row = 0; row < rows; ++row) {
    Rgb c = s.front().second;
    if (row >= s.back().first) c = s.back().second;
    for (std::size_t i = 0; i + 1 < s.size(); ++i) {
      const auto& [r0, c0] = s[i];
      const auto& [r1, c1] = s[i + 1];
      if (row >= r0 && row <= r1) {
        c = r1 == r0 ? c1 : Mix(c0, c1, static_cast<double>(row - r0) / (r1 - r0));
        break;
      }
    }
    colours_[static_cast<std::size_t>(row)] = c;
  }
}

Rgb RowRamp::At(int row) const { return colours_[static_cast<std::size_t>(std::clamp(row, 0, rows() - 1))]; }

void RowRamp::Paint(cairo_t* cr, int x, int y, int w, int first_row, int count) const {
  for (int i = 0; i < count; ++i) FillRect(cr, x, y + i, w, 1, At(first_row + i));
}

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_.get())) {
  if (cairo_status(cr_.get()) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot create a surface");
}

void Canvas::SavePng(const std::filesystem::path& file) const {
  cairo_surface_flush(surface_.get());
  if (cairo_surface_write_to_png(surface_.get(), file.c_str()) != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error("cannot write " + file.string());
  }
}

Canvas LoadPng(const std::filesystem::path& file) {
  std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> image(
      cairo_image_surface_create_from_png(file.c_str()), cairo_surface_destroy);
  if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error("cannot read " + file.string());
  }
  Canvas canvas(cairo_image_surface_get_width(image.get()), cairo_image_surface_get_height(image.get()));
  cairo_set_source_surface(canvas.cr(), image.get(), 0, 0);
  cairo_paint(canvas.cr());
  return canvas;
}

void Blit(cairo_t* cr, cairo_surface_t* src, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) {
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
  cairo_save(cr);
  cairo_rectangle(cr, dx, dy, dw, dh);
  cairo_clip(cr);
  cairo_translate(cr, dx, dy);
  cairo_scale(cr, static_cast<double>(dw) / sw, static_cast<double>(dh) / sh);
  cairo_set_source_surface(cr, src, -sx, -sy);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_restore(cr);
}

void SetColour(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, Unit(c.r), Unit(c.g), Unit(c.b), alpha);
}

void FillRect(cairo_t* cr, double x, double y, double w, double h, Rgb c, double alpha) {
  SetColour(cr, c, alpha);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

void SetVerticalGradient(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alpha) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgba(p, 0, Unit(top.r), Unit(top.g), Unit(top.b), alpha);
  cairo_pattern_add_color_stop_rgba(p, 1, Unit(bottom.r), Unit(bottom.g), Unit(bottom.b), alpha);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);  // the context holds its own reference
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
  cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
  cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

void TopRoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_move_to(cr, x, y + h);
  cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_line_to(cr, x + w, y + h);
  cairo_close_path(cr);
}

void Glow(cairo_t* cr, double cx, double cy, double r, Rgb c, double alpha) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
  cairo_pattern_add_color_stop_rgba(p, 0, Unit(c.r), Unit(c.g), Unit(c.b), alpha);
  cairo_pattern_add_color_stop_rgba(p, 1, Unit(c.r), Unit(c.g), Unit(c.b), 0);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
  cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
  cairo_fill(cr);
}

int DrawTextCentred(cairo_t* cr, std::string_view text, TextStyle style, double cx, double cy, Rgb colour,
                    double alpha) {
  Layout layout = MakeLayout(cr, text, style);
  const PangoRectangle ink = InkBox(layout.get());
  const double x = std::round(cx - ink.width / 2.0) - ink.x;
  const double y = std::round(cy - ink.height / 2.0) - ink.y;
  ShowLayout(cr, layout.get(), x, y, colour, alpha);
  return ink.width;
}

int DrawTextLeft(cairo_t* cr, std::string_view text, TextStyle style, double x, double cy, Rgb colour,
                 double alpha) {
  Layout layout = MakeLayout(cr, text, style);
  const PangoRectangle ink = InkBox(layout.get());
  const double y = std::round(cy - ink.height / 2.0) - ink.y;
  ShowLayout(cr, layout.get(), std::round(x) - ink.x, y, colour, alpha);
  return ink.width;
}

bool HasLabelFace() {
  PangoFontFamily** families = nullptr;
  int count = 0;
  pango_font_map_list_families(pango_cairo_font_map_get_default(), &families, &count);
  bool found = false;
  for (int i = 0; i < count; ++i) {
    found = found || std::string_view(pango_font_family_get_name(families[i])) == kFontFamily;
  }
  g_free(families);
  return found;
}

int TextWidth(cairo_t* cr, std::string_view text, TextStyle style) {
  Layout layout = MakeLayout(cr, text, style);
  return InkBox(layout.get()).width;
}

}  // namespace taviro::skin_art
