#pragma once

namespace taviro {

// The popup menus of the menu carrier: the main menu, the player menu, the
// network-task row and list menus, and the catalogue page menu.
enum class PopupMenu { r_m, qvod_m, webc, c_fie, myMenu };
inline constexpr int kPopupMenuCount = 5;

// Drops down one of the window's popup menus at a point of the window, in
// client pixels (or at the pointer).
class MenuPresenter {
 public:
  virtual ~MenuPresenter() = default;
  virtual void PopupAt(PopupMenu menu, int x, int y) = 0;
  virtual void PopupAtPointer(PopupMenu menu) = 0;
};

}  // namespace taviro
