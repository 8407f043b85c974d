// Properties of the drawn skin pictures that the window depends on: tiles
// lie seamlessly on the strips they are copied onto, the nine frame pieces
// stretch without seams, every state has its own look, and data/skins holds
// what the generator draws today.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "canvas.h"
#include "control_bar.h"
#include "extras.h"
#include "skin.h"
#include "skin_set.h"

// fontconfig keeps its font cache, reached through pango's shared font map,
// for the life of the process; the leak checker of sanitized builds is told.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace taviro::skin_art {
namespace {

namespace fs = std::filesystem;
using Pixels = std::vector<std::uint32_t>;

std::uint32_t Pixel(const Canvas& c, int x, int y) {
  cairo_surface_flush(c.surface());
  const unsigned char* data = cairo_image_surface_get_data(c.surface());
  const int stride = cairo_image_surface_get_stride(c.surface());
  std::uint32_t v = 0;
  std::memcpy(&v, data + static_cast<std::ptrdiff_t>(y) * stride + x * 4, sizeof v);
  return v;
}

std::uint32_t Alpha(std::uint32_t p) { return p >> 24; }

std::uint32_t Opaque(Rgb c) {
  return 0xFF000000U | static_cast<std::uint32_t>(c.r) << 16 | static_cast<std::uint32_t>(c.g) << 8 | c.b;
}

Pixels Column(const Canvas& c, int x, int y0, int rows) {
  Pixels out;
  for (int y = y0; y < y0 + rows; ++y) out.push_back(Pixel(c, x, y));
  return out;
}

Pixels Row(const Canvas& c, int y, int x0, int cols) {
  Pixels out;
  for (int x = x0; x < x0 + cols; ++x) out.push_back(Pixel(c, x, y));
  return out;
}

Pixels Ramp(const RowRamp& ramp, int first, int rows) {
  Pixels out;
  for (int r = first; r < first + rows; ++r) out.push_back(Opaque(ramp.At(r)));
  return out;
}

bool Uniform(const Pixels& p) {
  return std::adjacent_find(p.begin(), p.end(), std::not_equal_to<>()) == p.end();
}

Pixels Tile(const Canvas& c, int x0, int y0, int w, int h) {
  Pixels out;
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) out.push_back(Pixel(c, x, y));
  }
  return out;
}

// A glyph or label makes at least one row of a tile non-uniform, since every
// background here is uniform along a row.
bool HasInk(const Canvas& c, int x0, int y0, int w, int h) {
  for (int y = y0; y < y0 + h; ++y) {
    if (!Uniform(Row(c, y, x0, w))) return true;
  }
  return false;
}

class SkinPictures : public ::testing::TestWithParam<int> {
 protected:
  SkinPictures() : skin_(GetParam() == 0 ? DarkSkin() : BlueSkin()), slots_(DrawSkinSlots(skin_)) {}

  const Canvas& Slot(int k) const {
    for (const SlotPicture& s : slots_) {
      if (s.slot == k) return s.picture;
    }
    throw std::out_of_range("slot " + std::to_string(k));
  }

  // Both outer columns of every tile of a sheet show the strip's rows.
  void ExpectTilesOnStrip(int slot, int tile_width, const RowRamp& ramp, int first_row) const {
    const Canvas& sheet = Slot(slot);
    const Pixels strip = Ramp(ramp, first_row, sheet.height());
    for (int x = 0; x < sheet.width(); x += tile_width) {
      EXPECT_EQ(Column(sheet, x, 0, sheet.height()), strip) << "slot " << slot << " tile at " << x;
      EXPECT_EQ(Column(sheet, x + tile_width - 1, 0, sheet.height()), strip)
          << "slot " << slot << " tile at " << x;
    }
  }

  Skin skin_;
  std::vector<SlotPicture> slots_;
};

INSTANTIATE_TEST_SUITE_P(BothSkins, SkinPictures, ::testing::Values(0, 1));

TEST_P(SkinPictures, FramePiecesStretchWithoutSeams) {
  const Canvas& f = Slot(0);
  // Top middle (40..49) in both cuts, bottom middle (35..44): uniform rows.
  for (int y = 0; y < 55; ++y) EXPECT_TRUE(Uniform(Row(f, y, 40, 10))) << "row " << y;
  for (int y = 63; y < 108; ++y) EXPECT_TRUE(Uniform(Row(f, y, 35, 10))) << "row " << y;
  // Sides: rows 55..62 (normal) and 50..82 (mini mode) uniform per column.
  for (int x = 0; x < 80; ++x) {
    if (x >= 35 && x < 45) continue;
    EXPECT_TRUE(Uniform(Column(f, x, 55, 8))) << "column " << x;
    EXPECT_TRUE(Uniform(Column(f, x, 50, 33))) << "column " << x;
  }
  // The stretched title band is the title ramp; the border is two pixels.
  EXPECT_EQ(Column(f, 45, 0, 39), Ramp(skin_.title, 0, 39));
  EXPECT_EQ(Pixel(f, 0, 60), Opaque(skin_.edge_outer));
  EXPECT_EQ(Pixel(f, 1, 60), Opaque(skin_.edge_inner));
  EXPECT_EQ(Pixel(f, 40, 107), Opaque(skin_.edge_outer));
  EXPECT_EQ(Pixel(f, 40, 106), Opaque(skin_.edge_inner));
  EXPECT_EQ(Pixel(f, 40, 105), Opaque(skin_.bar.At(42)));  // shows below the control bar
  // Rounded: the very corners let the desktop through.
  for (const auto& [x, y] : {std::pair{0, 0}, {79, 0}, {0, 107}, {79, 107}}) {
    EXPECT_LT(Alpha(Pixel(f, x, y)), 128U) << x << "," << y;
  }
}

TEST_P(SkinPictures, TilesLieSeamlesslyOnTheirStrips) {
  ExpectTilesOnStrip(1, 24, skin_.title, 4);
  ExpectTilesOnStrip(2, 24, skin_.title, 4);
  ExpectTilesOnStrip(5, 24, skin_.title, 4);
  ExpectTilesOnStrip(6, 24, skin_.title, 4);
  ExpectTilesOnStrip(12, 58, skin_.bar, 0);
  for (const int slot : {13, 14, 16, 17, 18}) ExpectTilesOnStrip(slot, 25, skin_.bar, 11);
  // Tabs: the first columns of each tab belong to the band, so labels stay inside.
  for (const int slot : {7, 8}) {
    for (int x = 0; x < 400; x += 100) {
      for (int dx = 0; dx < 2; ++dx) EXPECT_EQ(Column(Slot(slot), x + dx, 0, 37), Ramp(skin_.title, 0, 37));
    }
  }
  for (int x = 0; x < 180; x += 60) {
    for (const int y : {0, 21}) {
      EXPECT_EQ(Column(Slot(9), x, y, 21), Ramp(skin_.header, 4, 21)) << x << "," << y;
    }
    EXPECT_EQ(Column(Slot(9), x + 59, 21, 21), Ramp(skin_.header, 4, 21)) << x;
  }
  EXPECT_EQ(Column(Slot(3), 0, 0, 43), Ramp(skin_.bar, 0, 43));
  EXPECT_EQ(Column(Slot(10), 0, 0, 28), Ramp(skin_.header, 0, 28));
  EXPECT_EQ(Column(Slot(10), 1, 0, 28), Ramp(skin_.header, 0, 28));
  // Volume bar: the bar's rows above and below the groove (rows 10..13).
  EXPECT_EQ(Column(Slot(15), 40, 0, kGrooveTop), Ramp(skin_.bar, kBarButtonTop, kGrooveTop));
  EXPECT_EQ(Column(Slot(15), 40, kGrooveTop + 4, 24 - kGrooveTop - 4),
            Ramp(skin_.bar, kBarButtonTop + kGrooveTop + 4, 24 - kGrooveTop - 4));
  // The knob's corners show the bar where the knob sits.
  EXPECT_EQ(Pixel(Slot(4), 0, 0), Opaque(skin_.bar.At(kBarButtonTop + kKnobTop)));
  EXPECT_EQ(Pixel(Slot(4), 9, 9), Opaque(skin_.bar.At(kBarButtonTop + kKnobTop + 9)));
}

TEST_P(SkinPictures, TilesAreOpaqueSoTheyCoverWhatIsBelow) {
  for (const SlotPicture& s : slots_) {
    if (s.slot == 0) continue;
    const Pixels all = Tile(s.picture, 0, 0, s.picture.width(), s.picture.height());
    EXPECT_TRUE(std::all_of(all.begin(), all.end(), [](std::uint32_t p) { return Alpha(p) == 255; }))
        << "slot " << s.slot;
  }
}

TEST_P(SkinPictures, EveryButtonShowsItsGlyphAndSpareTilesStayBlank) {
  EXPECT_FALSE(HasInk(Slot(1), 24, 0, 24, 24));
  EXPECT_FALSE(HasInk(Slot(16), 0, 0, 25, 25));
  EXPECT_FALSE(HasInk(Slot(17), 0, 0, 25, 25));
  for (const int x : {0, 48, 72, 96, 120}) {
    EXPECT_TRUE(HasInk(Slot(1), x, 0, 24, 24)) << x;
    EXPECT_TRUE(HasInk(Slot(2), x, 0, 24, 24)) << x;
  }
  for (const int x : {25, 50, 75}) EXPECT_TRUE(HasInk(Slot(16), x, 0, 25, 25)) << x;
  for (const int x : {0, 100, 200, 300}) EXPECT_TRUE(HasInk(Slot(8), x, 0, 100, 37)) << x;
  EXPECT_TRUE(HasInk(Slot(11), 0, 0, 3, 40));
  EXPECT_TRUE(HasInk(Slot(11), 3, 0, 3, 40));
}

TEST_P(SkinPictures, EachStateHasItsOwnLook) {
  struct Pair {
    int slot_a, xa, ya, slot_b, xb, yb, w, h;
  };
  const std::vector<Pair> pairs = {
      {1, 0, 0, 2, 0, 0, 24, 24},       {1, 48, 0, 2, 48, 0, 24, 24},    {1, 72, 0, 2, 72, 0, 24, 24},
      {1, 96, 0, 2, 96, 0, 24, 24},     {1, 120, 0, 2, 120, 0, 24, 24},  {5, 0, 0, 5, 24, 0, 24, 24},
      {1, 96, 0, 5, 0, 0, 24, 24},      {6, 0, 0, 6, 24, 0, 24, 24},     {6, 0, 0, 6, 48, 0, 24, 24},
      {6, 48, 0, 6, 72, 0, 24, 24},     {12, 0, 0, 12, 58, 0, 58, 43},   {12, 0, 0, 12, 116, 0, 58, 43},
      {12, 116, 0, 12, 174, 0, 58, 43}, {13, 0, 0, 13, 25, 0, 25, 25},   {14, 0, 0, 14, 25, 0, 25, 25},
      {14, 0, 0, 14, 50, 0, 25, 25},    {14, 50, 0, 14, 75, 0, 25, 25},  {16, 25, 0, 17, 25, 0, 25, 25},
      {16, 50, 0, 17, 50, 0, 25, 25},   {16, 75, 0, 17, 75, 0, 25, 25},  {18, 0, 0, 18, 25, 0, 25, 25},
      {18, 0, 0, 18, 50, 0, 25, 25},    {18, 50, 0, 18, 75, 0, 25, 25},  {9, 0, 0, 9, 0, 21, 60, 21},
      {9, 60, 0, 9, 60, 21, 60, 21},    {9, 120, 0, 9, 120, 21, 60, 21}, {11, 0, 0, 11, 3, 0, 3, 40},
  };
  for (const Pair& p : pairs) {
    EXPECT_NE(Tile(Slot(p.slot_a), p.xa, p.ya, p.w, p.h), Tile(Slot(p.slot_b), p.xb, p.yb, p.w, p.h))
        << "slot " << p.slot_a << " at " << p.xa << "," << p.ya << " vs slot " << p.slot_b << " at " << p.xb
        << "," << p.yb;
  }
  for (int x = 0; x < 400; x += 100) {
    EXPECT_NE(Tile(Slot(7), x, 0, 100, 37), Tile(Slot(8), x, 0, 100, 37)) << "tab at " << x;
  }
}

TEST(SharedPictures, LoadingFramesTurnAndStayInsideTheirFrame) {
  const Canvas strip = DrawLoadingStrip();
  ASSERT_EQ(strip.width(), kLoadingFrames * kCoverWidth);
  const std::uint32_t black = Opaque(Rgb::Hex(0x000000));
  for (int i = 0; i < kLoadingFrames; ++i) {
    const int x = i * kCoverWidth;
    const int next = (i + 1) % kLoadingFrames * kCoverWidth;
    EXPECT_NE(Tile(strip, x, 0, kCoverWidth, kCoverHeight), Tile(strip, next, 0, kCoverWidth, kCoverHeight))
        << "frame " << i;
    EXPECT_EQ(Column(strip, x, 0, kCoverHeight), Pixels(kCoverHeight, black)) << "frame " << i;
    EXPECT_EQ(Column(strip, x + kCoverWidth - 1, 0, kCoverHeight), Pixels(kCoverHeight, black))
        << "frame " << i;
  }
}

TEST(RowRamp, StopsAreExactBetweenStopsBlendsAndOutsideClamps) {
  const RowRamp ramp(10, {{2, Rgb::Hex(0x000000)}, {6, Rgb::Hex(0x804020)}, {7, Rgb::Hex(0xFFFFFF)}});
  EXPECT_EQ(ramp.At(0), Rgb::Hex(0x000000));
  EXPECT_EQ(ramp.At(2), Rgb::Hex(0x000000));
  EXPECT_EQ(ramp.At(4), Rgb::Hex(0x402010));
  EXPECT_EQ(ramp.At(6), Rgb::Hex(0x804020));
  EXPECT_EQ(ramp.At(7), Rgb::Hex(0xFFFFFF));  // adjacent stops make a hard edge
  EXPECT_EQ(ramp.At(9), Rgb::Hex(0xFFFFFF));
  EXPECT_EQ(ramp.At(-3), ramp.At(0));
  EXPECT_EQ(ramp.At(42), ramp.At(9));
  EXPECT_EQ(Mix(Rgb::Hex(0x000000), Rgb::Hex(0x030303), 0.5), Rgb::Hex(0x020202));  // rounds half up
}

// Pictures in data/skins must be what the generator draws now; a stale
// folder means the generator was changed without being run.
TEST(CommittedPictures, MatchWhatTheGeneratorDraws) {
  ASSERT_TRUE(HasLabelFace()) << "labels need the font WenQuanYi Micro Hei (fonts-wqy-microhei)";
  const fs::path folder = fs::path(TAVIRO_SOURCE_DIR) / "data" / "skins";
  auto expect_same = [](const Canvas& drawn, const fs::path& file) {
    SCOPED_TRACE(file.string());
    const Canvas stored = LoadPng(file);
    ASSERT_EQ(stored.width(), drawn.width());
    ASSERT_EQ(stored.height(), drawn.height());
    int worst = 0;
    for (int y = 0; y < drawn.height(); ++y) {
      for (int x = 0; x < drawn.width(); ++x) {
        const std::uint32_t a = Pixel(drawn, x, y);
        const std::uint32_t b = Pixel(stored, x, y);
        for (int shift = 0; shift < 32; shift += 8) {
          const int da = static_cast<int>(a >> shift & 0xFF);
          const int db = static_cast<int>(b >> shift & 0xFF);
          worst = std::max(worst, std::abs(da - db));
        }
      }
    }
    // Premultiplied alpha loses a little on the way through a PNG.
    EXPECT_LE(worst, 2);
  };
  for (const Skin& skin : {DarkSkin(), BlueSkin()}) {
    for (const SlotPicture& s : DrawSkinSlots(skin)) {
      const std::string name = (s.slot < 10 ? "ppt_0" : "ppt_") + std::to_string(s.slot) + ".png";
      expect_same(s.picture, folder / std::to_string(skin.index) / name);
    }
  }
  expect_same(DrawLogo(DarkSkin()), folder / "logo_a1.png");
  expect_same(DrawLogo(BlueSkin()), folder / "logo_a2.png");
  expect_same(DrawLoadingStrip(), folder / "loading.png");
  expect_same(DrawErrorPicture(), folder / "error.png");
  expect_same(DrawAppIcon(256), folder / "icon.png");
  expect_same(DrawAppIcon(48), folder / "icon-48.png");
}

}  // namespace
}  // namespace taviro::skin_art
