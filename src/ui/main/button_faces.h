#pragma once

#include "ui/main/window_model.h"

namespace taviro {

// Faces of the title-bar buttons and tabs as tiles of the skin pictures.
// Only the looks the commands paint are here; hover looks belong to the
// chrome.

inline constexpr int kTitleButtonsNormal = 1;  // skin picture slots
inline constexpr int kRestoreButton = 5;
inline constexpr int kTopmostButton = 6;
inline constexpr int kMainTabsSelected = 7;
inline constexpr int kMainTabsNormal = 8;
inline constexpr int kSideTabs = 9;

constexpr Tile TitleButtonTile(int x) { return Tile{kTitleButtonsNormal, x, 0, 24, 24}; }

constexpr Tile MiniModeFace() { return TitleButtonTile(0); }
constexpr Tile MenuFace() { return TitleButtonTile(48); }
constexpr Tile MinimiseFace() { return TitleButtonTile(72); }
constexpr Tile MaximiseFace() { return TitleButtonTile(96); }
constexpr Tile CloseFace() { return TitleButtonTile(120); }
constexpr Tile RestoreFace() { return Tile{kRestoreButton, 0, 0, 24, 24}; }
constexpr Tile TopmostFace(bool on) { return Tile{kTopmostButton, on ? 48 : 0, 0, 24, 24}; }

// Main tabs 8, 9, 13 and 14; x = -1 for any other index.
constexpr int MainTabX(int tab) {
  switch (tab) {
    case 9:
      return 0;
    case 8:
      return 100;
    case 13:
      return 200;
    case 14:
      return 300;
    default:
      return -1;
  }
}
constexpr Tile MainTabFace(int tab, bool selected) {
  return Tile{selected ? kMainTabsSelected : kMainTabsNormal, MainTabX(tab), 0, 100, 37};
}

// Side-panel tabs 7, 11 and 12; x = -1 for any other index.
constexpr int SideTabX(int tab) {
  switch (tab) {
    case 11:
      return 0;
    case 12:
      return 60;
    case 7:
      return 120;
    default:
      return -1;
  }
}
constexpr Tile SideTabFace(int tab, bool selected) {
  return Tile{kSideTabs, SideTabX(tab), selected ? 0 : 21, 60, 21};
}

}  // namespace taviro
