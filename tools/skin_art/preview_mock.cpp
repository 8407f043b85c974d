#include <array>
#include <string>

#include "preview.h"

namespace taviro::skin_art {
namespace {

constexpr int kMargin = 24;  // desktop around the window
constexpr Rgb kDesktop = Rgb::Hex(0x56626e);
constexpr Rgb kTitleText = Rgb::Hex(0xdeded8);
constexpr Rgb kSidePanel = Rgb::Hex(0x404040);
constexpr Rgb kFooter = Rgb::Hex(0x212121);
constexpr Rgb kFooterText = Rgb::Hex(0x5a5a5a);
constexpr Rgb kSeekBar = Rgb::Hex(0x2b2b2b);
constexpr Rgb kStateText = Rgb::Hex(0x00c0c0);
constexpr Rgb kTimeText = Rgb::Hex(0x00ffff);
constexpr Rgb kNameText = Rgb::Hex(0xf2ab64);

struct Sheets {
  std::array<Canvas, 21> ppt;
  Canvas logo;
};

Sheets Load(const std::filesystem::path& folder, int skin) {
  auto slot = [&](int k) {
    auto file = folder / std::to_string(skin) /
                ("ppt_" + std::string(k < 10 ? "0" : "") + std::to_string(k) + ".png");
    if (!std::filesystem::exists(file))
      file = folder / "0" / file.filename();  // the slot keeps skin 0's picture
    return std::filesystem::exists(file) ? LoadPng(file) : Canvas(1, 1);
  };
  return Sheets{{slot(0),  slot(1),  slot(2),  slot(3),  slot(4),  slot(5),  slot(6),
                 slot(7),  slot(8),  slot(9),  slot(10), slot(11), slot(12), slot(13),
                 slot(14), slot(15), slot(16), slot(17), slot(18), slot(19), slot(20)},
                LoadPng(folder / (skin == 0 ? "logo_a1.png" : "logo_a2.png"))};
}

// Copies a tile 1:1.
void Tile(cairo_t* cr, const Canvas& sheet, int sx, int sy, int w, int h, int dx, int dy) {
  Blit(cr, sheet.surface(), sx, sy, w, h, dx, dy, w, h);
}

void PaintFrame(cairo_t* cr, const Canvas& f, int sw, int sh, bool mini) {
  if (mini) {
    Blit(cr, f.surface(), 0, 50, 35, 33, 0, 30, 35, sh - 30);
    Blit(cr, f.surface(), 45, 50, 35, 33, sw - 35, 30, 35, sh - 30);
  } else {
    Blit(cr, f.surface(), 0, 55, 35, 8, 0, 55, 35, sh - 55);
    Blit(cr, f.surface(), 45, 55, 35, 8, sw - 35, 55, 35, sh - 55);
  }
  Blit(cr, f.surface(), 35, 63, 10, 45, 35, sh - 45, sw - 70, 45);
  Blit(cr, f.surface(), 0, 63, 35, 45, 0, sh - 45, 35, 45);
  Blit(cr, f.surface(), 45, 63, 35, 45, sw - 35, sh - 45, 35, 45);
  const int top = mini ? 30 : 55;
  Blit(cr, f.surface(), 40, 0, 10, top, 40, 0, sw - 70, top);
  Blit(cr, f.surface(), 0, 0, 40, top, 0, 0, 40, top);
  Blit(cr, f.surface(), 50, 0, 30, top, sw - 30, 0, 30, top);
}

void PaintTitleBar(cairo_t* cr, const Sheets& s, int sw) {
  Tile(cr, s.logo, 0, 0, 24, 24, 10, 7);
  DrawTextLeft(cr, "Taviro 2.3", TextStyle{.px = 12, .bold = true}, 40, 19, kTitleText);
  const int close = sw - 32;
  Tile(cr, s.ppt[1], 120, 0, 24, 24, close, 4);
  Tile(cr, s.ppt[1], 96, 0, 24, 24, close - 24, 4);
  Tile(cr, s.ppt[2], 72, 0, 24, 24, close - 48, 4);  // shown hovered
  Tile(cr, s.ppt[1], 48, 0, 24, 24, close - 76, 4);
  Tile(cr, s.ppt[1], 0, 0, 24, 24, close - 100, 4);
  Tile(cr, s.ppt[6], 0, 0, 24, 24, close - 124, 4);
  // Screen order: catalogue, player (selected), TV, highlights.
  Tile(cr, s.ppt[8], 100, 0, 100, 37, 200, 0);
  Tile(cr, s.ppt[7], 0, 0, 100, 37, 300, 0);
  Tile(cr, s.ppt[8], 200, 0, 100, 37, 400, 0);
  Tile(cr, s.ppt[8], 300, 0, 100, 37, 500, 0);
}

void PaintPlayerArea(cairo_t* cr, int x, int y, int w, int h) {
  FillRect(cr, x, y, w, h, Rgb::Hex(0x000000));
  const int seek = y + h - 7;
  FillRect(cr, x, seek, w, 7, kSeekBar);
  FillRect(cr, x, seek + 2, w * 0.3, 3, Rgb::Hex(0x1cb8c9));
  const int strip = seek - 22;
  DrawTextLeft(cr, "准备就绪", TextStyle{.px = 12}, x + 13, strip + 10, kStateText);
  DrawTextCentred(cr, "示例影片 第01集", TextStyle{.px = 12}, x + w / 2.0, strip + 10, kNameText);
  DrawTextLeft(cr, "00:00 /00:00", TextStyle{.px = 12}, x + w - 85, strip + 10, kTimeText);
}

void PaintSidePanel(cairo_t* cr, const Sheets& s, int x, int y, int h) {
  FillRect(cr, x, y, 202, h, kSidePanel);
  Blit(cr, s.ppt[10].surface(), 0, 0, 2, 28, x, y, 203, 28);
  Tile(cr, s.ppt[9], 0, 0, 60, 21, x + 8, y + 4);
  Tile(cr, s.ppt[9], 60, 21, 60, 21, x + 71, y + 4);
  Tile(cr, s.ppt[9], 120, 21, 60, 21, x + 134, y + 4);
  for (int i = 0; i < 5; ++i) {
    DrawTextLeft(cr, "示例影片 第0" + std::to_string(i + 1) + "集", TextStyle{.px = 12}, x + 12,
                 y + 44 + i * 22, Rgb::Hex(0xd0d0d0));
  }
  FillRect(cr, x, y + h - 20, 202, 20, kFooter);
  DrawTextLeft(cr, "清空列表", TextStyle{.px = 12}, x + 122, y + h - 10, kFooterText);
}

void PaintControlBar(cairo_t* cr, const Sheets& s, int sw, int sh) {
  const int bx = 2;
  const int by = sh - 46;
  Blit(cr, s.ppt[3].surface(), 0, 0, 1, 43, bx, by, sw - 4, 43);
  Tile(cr, s.ppt[12], 116, 0, 58, 43, bx + 20, by);  // playing
  Tile(cr, s.ppt[13], 0, 0, 25, 25, bx + 85, by + 11);
  Tile(cr, s.ppt[18], 0, 0, 25, 25, bx + 114, by + 11);
  Tile(cr, s.ppt[18], 75, 0, 25, 25, bx + 143, by + 11);  // shown hovered
  Tile(cr, s.ppt[14], 0, 0, 25, 25, bx + 173, by + 11);
  const int yin = bx + 199;
  Tile(cr, s.ppt[15], 0, 0, 80, 24, yin, by + 11);
  const int knob = (80 - 10) * 60 / 100;
  FillRect(cr, yin, by + 11 + 11, knob, 2, Rgb::Hex(0x1cb8c9));
  Tile(cr, s.ppt[4], 0, 0, 10, 10, yin + knob, by + 11 + 6);
  Tile(cr, s.ppt[16], 75, 0, 25, 25, bx + sw - 47, by + 11);
  Tile(cr, s.ppt[16], 50, 0, 25, 25, bx + sw - 73, by + 11);
  Tile(cr, s.ppt[16], 25, 0, 25, 25, bx + sw - 99, by + 11);
  DrawTextLeft(cr, "欢迎使用 Taviro，精彩影视天天更新", TextStyle{.px = 12}, bx + 470, by + 24,
               Rgb::Hex(0xc8c8c8));
}

void PaintNormal(cairo_t* cr, const Sheets& s, int sw, int sh) {
  PaintFrame(cr, s.ppt[0], sw, sh, false);
  PaintControlBar(cr, s, sw, sh);
  PaintTitleBar(cr, s, sw);
  const int zw = sw - 4;
  const int zh = sh - 85;
  FillRect(cr, 2, 39, zw, zh, Rgb::Hex(0x000000));
  PaintPlayerArea(cr, 2, 39, zw - 202, zh);
  PaintSidePanel(cr, s, 2 + zw - 202, 39, zh);
  Tile(cr, s.ppt[11], 0, 0, 3, 40, 2 + zw - 202, 39 + (zh - 43) / 2);
}

void PaintMini(cairo_t* cr, const Sheets& s, int sw, int sh) {
  PaintFrame(cr, s.ppt[0], sw, sh, true);
  DrawTextLeft(cr, "示例影片 第01集", TextStyle{.px = 12}, 13, 10, kTitleText);
  DrawTextCentred(cr, "×", TextStyle{.px = 14, .bold = true}, sw - 18, 10, Rgb::Hex(0xffffff));
  PaintPlayerArea(cr, 2, 20, sw - 4, sh - 23);
}

}  // namespace

Canvas DrawWindowMock(const std::filesystem::path& skins_folder, int skin_index, int width, int height,
                      bool mini) {
  const Sheets sheets = Load(skins_folder, skin_index);
  Canvas mock(width + 2 * kMargin, height + 2 * kMargin);
  cairo_t* cr = mock.cr();
  FillRect(cr, 0, 0, mock.width(), mock.height(), kDesktop);
  cairo_translate(cr, kMargin, kMargin);
  if (mini) {
    PaintMini(cr, sheets, width, height);
  } else {
    PaintNormal(cr, sheets, width, height);
  }
  return mock;
}

}  // namespace taviro::skin_art
