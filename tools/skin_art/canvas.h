#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <numbers>
#include <string_view>
#include <utility>
#include <vector>

namespace taviro::skin_art {

// An 8-bit colour. Pictures that must meet seamlessly share exact values,
// so colours are kept in bytes rather than doubles.
inline constexpr double kPi = std::numbers::pi;

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  static constexpr Rgb Hex(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v)};
  }
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// a + (b - a) * t per channel, rounded.
Rgb Mix(Rgb a, Rgb b, double t);

// One colour per pixel row. A strip that the window stretches and every tile
// painted over it take their rows from the same ramp, so tiles sit on the
// strip without a visible edge.
class RowRamp {
 public:
  // Stops are (row, colour) in increasing row order; rows between two stops
  // blend linearly, rows outside the stops take the nearest stop.
  RowRamp(int rows, std::initializer_list<std::pair<int, Rgb>> stops);

  int rows() const { return static_cast<int>(colours_.size()); }
  Rgb At(int row) const;
  // Paints rows [first_row, first_row + count) of the ramp at (x, y), w wide.
  void Paint(cairo_t* cr, int x, int y, int w, int first_row, int count) const;

 private:
  std::vector<Rgb> colours_;
};

// An ARGB surface of fixed size with its drawing context.
class Canvas {
 public:
  Canvas(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  cairo_t* cr() const { return cr_.get(); }
  cairo_surface_t* surface() const { return surface_.get(); }

  // Throws std::runtime_error when the file cannot be written.
  void SavePng(const std::filesystem::path& file) const;

 private:
  struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
  };
  struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
  };

  int width_;
  int height_;
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface_;
  std::unique_ptr<cairo_t, ContextDeleter> cr_;
};

// Reads a PNG back; throws std::runtime_error when it cannot.
Canvas LoadPng(const std::filesystem::path& file);

// Copies the source rectangle onto the destination rectangle with
// nearest-pixel stretching, as a window would paint a skin piece.
void Blit(cairo_t* cr, cairo_surface_t* src, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh);

void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);
void FillRect(cairo_t* cr, double x, double y, double w, double h, Rgb c, double alpha = 1.0);
// Sets a vertical linear gradient from y0 (top colour) to y1 as the source.
void SetVerticalGradient(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alpha = 1.0);
// Adds a rounded rectangle to the path.
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// Adds a rectangle whose top corners alone are rounded.
void TopRoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// A soft round glow centred at (cx, cy), fading to nothing at radius r.
void Glow(cairo_t* cr, double cx, double cy, double r, Rgb c, double alpha);

struct TextStyle {
  double px = 12;
  bool bold = false;
};

// Draws UTF-8 text in the CJK face, its ink box centred on (cx, cy) and
// snapped to whole pixels. Returns the ink width.
int DrawTextCentred(cairo_t* cr, std::string_view text, TextStyle style, double cx, double cy, Rgb colour,
                    double alpha = 1.0);
// Draws text with its ink box's left edge at x, centred on cy vertically.
int DrawTextLeft(cairo_t* cr, std::string_view text, TextStyle style, double x, double cy, Rgb colour,
                 double alpha = 1.0);
// Whether the CJK face the labels are drawn in is installed; without it the
// text would silently come out in some other face.
bool HasLabelFace();

// Ink width of the text without drawing it.
int TextWidth(cairo_t* cr, std::string_view text, TextStyle style);

}  // namespace taviro::skin_art
