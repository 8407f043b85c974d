#include "skin.h"

namespace taviro::skin_art {
namespace {

constexpr Rgb H(std::uint32_t v) { return Rgb::Hex(v); }

}  // namespace

Skin DarkSkin() {
  return Skin{
      .index = 0,
      .title = RowRamp(39, {{0, H(0x050607)},
                            {1, H(0x3b3f46)},
                            {2, H(0x30343a)},
                            {36, H(0x16181b)},
                            {37, H(0x111214)},
                            {38, H(0x08090a)}}),
      .bar = RowRamp(43, {{0, H(0x08090a)}, {1, H(0x3d4148)}, {2, H(0x2a2d32)}, {42, H(0x111214)}}),
      .header = RowRamp(28, {{0, H(0x4a4e55)}, {1, H(0x363a40)}, {26, H(0x26282d)}, {27, H(0x101113)}}),
      .edge_outer = H(0x050607),
      .edge_inner = H(0x3b3f46),
      .body = H(0x111214),
      .glyph = H(0xc5ccd4),
      .glyph_hover = H(0x6ae6f0),
      .accent = H(0x1cb8c9),
      .accent_light = H(0x6ae6f0),
      .accent_dark = H(0x0a6f7c),
      .hover_fill = H(0xffffff),
      .hover_alpha = 0.13,
      .close_hover = H(0xd9403a),
      .tab_text = H(0x9ba4ae),
      .tab_text_selected = H(0xffffff),
      .tab_fill_top = H(0x3d424a),
      .tab_fill_bottom = H(0x1e2125),
      .tab_rim = H(0x4d535b),
      .shadow = H(0x000000),
  };
}

Skin BlueSkin() {
  return Skin{
      .index = 1,
      .title = RowRamp(39, {{0, H(0x0b3a6e)},
                            {1, H(0x8cc6f7)},
                            {2, H(0x5aa7ec)},
                            {17, H(0x3488dc)},
                            {18, H(0x2374cb)},
                            {36, H(0x1b62b4)},
                            {37, H(0x16549c)},
                            {38, H(0x0d3f7a)}}),
      .bar = RowRamp(43, {{0, H(0x0d3f7a)},
                          {1, H(0x8ac4f6)},
                          {2, H(0x4a9be6)},
                          {20, H(0x2c7ed3)},
                          {21, H(0x2270c6)},
                          {42, H(0x1a58a2)}}),
      .header = RowRamp(28, {{0, H(0x9dcdf8)}, {1, H(0x5ca6ec)}, {26, H(0x2f7ed2)}, {27, H(0x174f91)}}),
      .edge_outer = H(0x0b3a6e),
      .edge_inner = H(0x8cc6f7),
      .body = H(0x1a58a2),
      .glyph = H(0xf4f9ff),
      .glyph_hover = H(0xffffff),
      .accent = H(0x3d9cf0),
      .accent_light = H(0xbfe4ff),
      .accent_dark = H(0x0f4f9c),
      .hover_fill = H(0xffffff),
      .hover_alpha = 0.24,
      .close_hover = H(0xe0463e),
      .tab_text = H(0xe6f2ff),
      .tab_text_selected = H(0x0d4a8f),
      .tab_fill_top = H(0xfbfdff),
      .tab_fill_bottom = H(0xc6def6),
      .tab_rim = H(0x2a6cb8),
      .shadow = H(0x0a3566),
  };
}

}  // namespace taviro::skin_art
