#include "ui/settings/settings_dialog_design.h"

namespace taviro {
namespace {

constexpr int kTabColumnWidth = 130;
constexpr int kTabHeight = 35;
// Tab tops by page index: about, options, cache; they overlap slightly.
constexpr std::array<int, kSettingsPageCount> kTabTops{61, 0, 31};

constexpr int kGlyphSize = 24;
constexpr int kGlyphSourceX = 120;

}  // namespace

SettingsDialogLayout LayoutSettingsDialog(int width, int height) {
  SettingsDialogLayout layout;
  layout.title = {16, 7, 0, 0};
  layout.body = {2, 30, width - 4, height - 32};
  layout.tab_column = {0, 0, kTabColumnWidth, layout.body.height - 40};
  layout.tab_background = {0, 0, layout.tab_column.width - 1, layout.tab_column.height - 1};
  layout.page_area = {kTabColumnWidth, 0, layout.body.width - kTabColumnWidth, layout.tab_column.height};
  for (std::size_t page = 0; page < layout.tabs.size(); ++page) {
    layout.tabs[page] = {0, kTabTops[page], layout.tab_background.width, kTabHeight};
  }
  layout.page = {0, 0, layout.page_area.width, layout.page_area.height - 1};
  layout.close_glyph = {width - 32, 3, kGlyphSize, kGlyphSize};
  return layout;
}

std::array<FramePiece, 8> SettingsFramePieces(int width, int height) {
  const int w = width;
  const int h = height;
  return {{
      {{0, 50, 35, 33}, {0, 30, 35, h - 30}},
      {{45, 50, 35, 33}, {w - 35, 30, 35, h - 30}},
      {{35, 63, 10, 45}, {35, h - 45, w - 70, 45}},
      {{0, 63, 35, 45}, {0, h - 45, 35, 45}},
      {{45, 63, 35, 45}, {w - 35, h - 45, 35, 45}},
      {{40, 0, 10, 30}, {40, 0, w - 70, 30}},
      {{0, 0, 40, 30}, {0, 0, 40, 30}},
      {{50, 0, 30, 30}, {w - 30, 0, 30, 30}},
  }};
}

Tile CloseGlyphFace(bool hot) { return Tile{hot ? 2 : 1, kGlyphSourceX, 0, kGlyphSize, kGlyphSize, false}; }

TabLook TabLookOf(bool selected) {
  // Orange is red 0xFA, green 0xAF, blue 0x41.
  return selected ? TabLook{0x41AFFA, 0xFFFFFF} : TabLook{0xDADADA, 0x000000};
}

LinkLook LinkLookOf(bool hot) { return hot ? LinkLook{0x0000FF, true} : LinkLook{0xFF0000, false}; }

}  // namespace taviro
