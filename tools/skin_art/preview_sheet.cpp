#include <algorithm>
#include <string>
#include <vector>

#include "preview.h"

namespace taviro::skin_art {
namespace {

constexpr int kSheetWidth = 1400;
constexpr int kScale = 2;
constexpr int kGap = 16;
constexpr int kCaption = 18;
constexpr Rgb kSheetBack = Rgb::Hex(0x7c848c);

struct Item {
  std::string caption;
  Canvas picture;
  int scale;
};

// Places items left to right, wrapping at the sheet width.
Canvas Arrange(const std::vector<Item>& items) {
  struct Spot {
    int x;
    int y;
  };
  std::vector<Spot> spots;
  int x = kGap;
  int y = kGap;
  int row_height = 0;
  for (const Item& item : items) {
    const int w = item.picture.width() * item.scale;
    const int h = item.picture.height() * item.scale + kCaption;
    if (x + w > kSheetWidth - kGap && x > kGap) {
      x = kGap;
      y += row_height + kGap;
      row_height = 0;
    }
    spots.push_back({x, y});
    x += std::max(w, 90) + kGap;
    row_height = std::max(row_height, h);
  }
  Canvas sheet(kSheetWidth, y + row_height + kGap);
  cairo_t* cr = sheet.cr();
  FillRect(cr, 0, 0, sheet.width(), sheet.height(), kSheetBack);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    DrawTextLeft(cr, item.caption, TextStyle{.px = 12}, spots[i].x, spots[i].y + 7, Rgb::Hex(0xffffff));
    const int w = item.picture.width() * item.scale;
    const int h = item.picture.height() * item.scale;
    Blit(cr, item.picture.surface(), 0, 0, item.picture.width(), item.picture.height(), spots[i].x,
         spots[i].y + kCaption, w, h);
  }
  return sheet;
}

}  // namespace

Canvas DrawContactSheet(const std::filesystem::path& skins_folder, int skin_index) {
  std::vector<Item> items;
  const auto skin_folder = skins_folder / std::to_string(skin_index);
  for (int slot = 0; slot <= 20; ++slot) {
    const auto file =
        skin_folder / ("ppt_" + std::string(slot < 10 ? "0" : "") + std::to_string(slot) + ".png");
    if (!std::filesystem::exists(file)) continue;
    Canvas picture = LoadPng(file);
    // Thin strips are shown wider so that they can be seen at all.
    const int scale = picture.width() <= 6 ? kScale * 4 : kScale;
    items.push_back({"ppt " + std::to_string(slot), std::move(picture), scale});
  }
  items.push_back({"logo a" + std::to_string(skin_index + 1),
                   LoadPng(skins_folder / ("logo_a" + std::to_string(skin_index + 1) + ".png")), kScale * 2});
  items.push_back({"error", LoadPng(skins_folder / "error.png"), kScale});
  Canvas strip = LoadPng(skins_folder / "loading.png");
  for (int frame = 0; frame < 4; ++frame) {
    Canvas one(180, 50);
    Blit(one.cr(), strip.surface(), frame * 3 * 180, 0, 180, 50, 0, 0, 180, 50);
    items.push_back({"loading " + std::to_string(frame * 3), std::move(one), kScale});
  }
  items.push_back({"icon 48", LoadPng(skins_folder / "icon-48.png"), kScale});
  items.push_back({"icon 256", LoadPng(skins_folder / "icon.png"), 1});
  return Arrange(items);
}

}  // namespace taviro::skin_art
