#pragma once

#include "window/window_model.h"

namespace taviro {

// Faces of the tabs as tiles of the skin pictures: main tabs 100 x 37 from
// picture 7 (selected) or 8 (normal), side-panel tabs 60 x 21 from picture 9
// (row 0 selected, row 21 normal).

// Main tabs 8, 9, 13 and 14; x = -1 for any other index.
constexpr int MainTabX(int tab) {
  switch (tab) {
    case 9: return 0;
    case 8: return 100;
    case 13: return 200;
    case 14: return 300;
    default: return -1;
  }
}
constexpr Tile MainTabFace(int tab, bool selected) {
  return Tile{selected ? 7 : 8, MainTabX(tab), 0, 100, 37};
}

// Side-panel tabs 7, 11 and 12; x = -1 for any other index.
constexpr int SideTabX(int tab) {
  switch (tab) {
    case 11: return 0;
    case 12: return 60;
    case 7: return 120;
    default: return -1;
  }
}
constexpr Tile SideTabFace(int tab, bool selected) {
  return Tile{9, SideTabX(tab), selected ? 0 : 21, 60, 21};
}

}  // namespace taviro
