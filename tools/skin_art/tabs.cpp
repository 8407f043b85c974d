#include "tabs.h"

#include <cmath>

namespace taviro::skin_art {
namespace {

constexpr int kMainTabWidth = 100;
constexpr int kMainTabHeight = 37;
constexpr int kSideTabWidth = 60;
constexpr int kSideTabHeight = 21;
constexpr int kSideTabTop = 4;  // the tabs' top inside the header
constexpr double kIcon = 14;
constexpr TextStyle kMainLabel{.px = 14, .bold = true};
constexpr TextStyle kSideLabel{.px = 12, .bold = false};

enum class TabIcon { kPlayer, kCatalogue, kTv, kHighlights };

void PlayerIcon(cairo_t* cr, double x, double y) {
  cairo_set_line_width(cr, 1.5);
  cairo_arc(cr, x + 7, y + 7, 6.25, 0, 2 * kPi);
  cairo_stroke(cr);
  cairo_move_to(cr, x + 5.5, y + 4);
  cairo_line_to(cr, x + 10.5, y + 7);
  cairo_line_to(cr, x + 5.5, y + 10);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void CatalogueIcon(cairo_t* cr, double x, double y) {
  for (const double dx : {0.0, 8.0}) {
    for (const double dy : {0.0, 8.0}) RoundedRect(cr, x + dx, y + dy, 6, 6, 1.2);
  }
  cairo_fill(cr);
}

void TvIcon(cairo_t* cr, double x, double y) {
  cairo_set_line_width(cr, 1);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, x + 4, y + 0.5);
  cairo_line_to(cr, x + 7, y + 3);
  cairo_line_to(cr, x + 10, y + 0.5);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 1.5);
  RoundedRect(cr, x + 0.75, y + 3.75, 12.5, 9, 1.5);
  cairo_stroke(cr);
  cairo_rectangle(cr, x + 4, y + 13, 6, 1);
  cairo_fill(cr);
}

void HighlightsIcon(cairo_t* cr, double x, double y) {
  const double cx = x + 7;
  const double cy = y + 7.6;
  for (int i = 0; i < 10; ++i) {
    const double r = i % 2 == 0 ? 7.2 : 3.0;
    const double a = -kPi / 2 + i * kPi / 5;
    const double px = cx + r * std::cos(a);
    const double py = cy + r * std::sin(a);
    if (i == 0) {
      cairo_move_to(cr, px, py);
    } else {
      cairo_line_to(cr, px, py);
    }
  }
  cairo_close_path(cr);
  cairo_fill(cr);
}

void DrawTabIcon(cairo_t* cr, TabIcon icon, double x, double y, Rgb colour) {
  cairo_save(cr);
  SetColour(cr, colour);
  switch (icon) {
    case TabIcon::kPlayer: PlayerIcon(cr, x, y); break;
    case TabIcon::kCatalogue: CatalogueIcon(cr, x, y); break;
    case TabIcon::kTv: TvIcon(cr, x, y); break;
    case TabIcon::kHighlights: HighlightsIcon(cr, x, y); break;
  }
  cairo_restore(cr);
}

// Icon and label centred as one group in the tab.
void MainTabContent(cairo_t* cr, const Skin& skin, int x, TabIcon icon, std::string_view label,
                    bool selected) {
  constexpr double kGap = 6;
  constexpr double kMiddle = 19;
  const int text = TextWidth(cr, label, kMainLabel);
  const double left = std::round(x + (kMainTabWidth - (kIcon + kGap + text)) / 2);
  const Rgb text_colour = selected ? skin.tab_text_selected : skin.tab_text;
  const Rgb icon_colour = selected ? (skin.index == 0 ? skin.accent_light : skin.accent) : skin.tab_text;
  const double shadow = selected && skin.index == 1 ? 0.0 : 0.6;
  const double icon_top = kMiddle - kIcon / 2;
  DrawTabIcon(cr, icon, left, icon_top + 1, skin.shadow);
  DrawTabIcon(cr, icon, left, icon_top, icon_colour);
  if (shadow > 0) DrawTextLeft(cr, label, kMainLabel, left + kIcon + kGap, kMiddle + 1, skin.shadow, shadow);
  DrawTextLeft(cr, label, kMainLabel, left + kIcon + kGap, kMiddle, text_colour);
}

void SelectedMainTab(cairo_t* cr, const Skin& skin, int x) {
  constexpr double kTop = 5;
  TopRoundedRect(cr, x + 2.5, kTop + 0.5, kMainTabWidth - 5, kMainTabHeight - kTop, 5);
  SetVerticalGradient(cr, kTop, kMainTabHeight, skin.tab_fill_top, skin.tab_fill_bottom);
  cairo_fill_preserve(cr);
  SetColour(cr, skin.tab_rim);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // A light first row inside the rim gives the tab its edge.
  FillRect(cr, x + 7, kTop + 1, kMainTabWidth - 14, 1, Rgb::Hex(0xffffff), skin.index == 0 ? 0.12 : 0.9);
  if (skin.index == 0) {
    FillRect(cr, x + 3, kMainTabHeight - 3, kMainTabWidth - 6, 3, skin.accent);
    FillRect(cr, x + 3, kMainTabHeight - 3, kMainTabWidth - 6, 1, skin.accent_light);
  }
}

void Divider(cairo_t* cr, const Skin& skin, int x) {
  for (int y = 11; y < 28; ++y) {
    const double fade = 1.0 - std::abs(y - 19.5) / 9.0;
    FillRect(cr, x + kMainTabWidth - 2, y, 1, 1, skin.shadow, 0.55 * fade);
    FillRect(cr, x + kMainTabWidth - 1, y, 1, 1, Rgb::Hex(0xffffff), 0.14 * fade);
  }
}

void SideTab(cairo_t* cr, const Skin& skin, int x, int y, std::string_view label, bool selected) {
  skin.header.Paint(cr, x, y, kSideTabWidth, kSideTabTop, kSideTabHeight);
  const double middle = y + 10.5;
  if (!selected) {
    DrawTextCentred(cr, label, kSideLabel, x + kSideTabWidth / 2.0, middle + 1, skin.shadow, 0.6);
    DrawTextCentred(cr, label, kSideLabel, x + kSideTabWidth / 2.0, middle, skin.tab_text);
    return;
  }
  RoundedRect(cr, x + 1.5, y + 1.5, kSideTabWidth - 3, kSideTabHeight - 3, 3);
  if (skin.index == 0) {
    SetVerticalGradient(cr, y + 1, y + kSideTabHeight - 1, skin.accent, skin.accent_dark);
  } else {
    SetVerticalGradient(cr, y + 1, y + kSideTabHeight - 1, skin.tab_fill_top, skin.tab_fill_bottom);
  }
  cairo_fill_preserve(cr);
  SetColour(cr, skin.index == 0 ? skin.accent_dark : skin.tab_rim);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  FillRect(cr, x + 4, y + 2, kSideTabWidth - 8, 1, Rgb::Hex(0xffffff), skin.index == 0 ? 0.35 : 0.9);
  const Rgb text = skin.index == 0 ? Rgb::Hex(0xffffff) : skin.tab_text_selected;
  if (skin.index == 0)
    DrawTextCentred(cr, label, kSideLabel, x + kSideTabWidth / 2.0, middle + 1, skin.shadow, 0.4);
  DrawTextCentred(cr, label, kSideLabel, x + kSideTabWidth / 2.0, middle, text);
}

// Three columns, 40 rows: a small arrow in the middle.
void Handle(cairo_t* cr, const Skin& skin, int x, bool points_right) {
  const Rgb top = skin.index == 0 ? Rgb::Hex(0x4a4f57) : skin.accent_light;
  const Rgb bottom = skin.index == 0 ? Rgb::Hex(0x2b2e33) : skin.accent;
  for (int y = 0; y < 40; ++y) FillRect(cr, x, y, 3, 1, Mix(top, bottom, y / 39.0));
  FillRect(cr, x, 0, 3, 1, skin.edge_outer);
  FillRect(cr, x, 39, 3, 1, skin.edge_outer);
  const Rgb arrow = skin.index == 0 ? skin.accent_light : skin.accent_dark;
  constexpr int kWidths[] = {1, 2, 3, 2, 1};
  for (int row = 0; row < 5; ++row) {
    const int w = kWidths[row];
    FillRect(cr, points_right ? x : x + 3 - w, 18 + row, w, 1, arrow);
  }
}

}  // namespace

Canvas DrawMainTabs(const Skin& skin, bool selected) {
  Canvas canvas(4 * kMainTabWidth, kMainTabHeight);
  cairo_t* cr = canvas.cr();
  skin.title.Paint(cr, 0, 0, canvas.width(), 0, kMainTabHeight);
  constexpr TabIcon kIcons[] = {TabIcon::kPlayer, TabIcon::kCatalogue, TabIcon::kTv, TabIcon::kHighlights};
  for (int i = 0; i < 4; ++i) {
    const int x = i * kMainTabWidth;
    if (selected) {
      SelectedMainTab(cr, skin, x);
    } else {
      Divider(cr, skin, x);
    }
    MainTabContent(cr, skin, x, kIcons[i], kMainTabLabels[static_cast<std::size_t>(i)], selected);
  }
  return canvas;
}

Canvas DrawSideTabs(const Skin& skin) {
  Canvas canvas(3 * kSideTabWidth, 2 * kSideTabHeight);
  for (int i = 0; i < 3; ++i) {
    const auto label = kSideTabLabels[static_cast<std::size_t>(i)];
    SideTab(canvas.cr(), skin, i * kSideTabWidth, 0, label, true);
    SideTab(canvas.cr(), skin, i * kSideTabWidth, kSideTabHeight, label, false);
  }
  return canvas;
}

Canvas DrawSideHeader(const Skin& skin) {
  Canvas canvas(2, 28);
  skin.header.Paint(canvas.cr(), 0, 0, 2, 0, 28);
  return canvas;
}

Canvas DrawSideHandles(const Skin& skin) {
  Canvas canvas(6, 40);
  Handle(canvas.cr(), skin, 0, /*points_right=*/true);
  Handle(canvas.cr(), skin, 3, /*points_right=*/false);
  return canvas;
}

}  // namespace taviro::skin_art
