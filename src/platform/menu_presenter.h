#pragma once

namespace taviro {

enum class PopupMenu { r_m, qvod_m, webc, c_fie };

// Drops down one of the window's popup menus at a point of the window, in
// client pixels (or at the pointer).
class MenuPresenter {
 public:
  virtual ~MenuPresenter() = default;
  virtual void PopupAt(PopupMenu menu, int x, int y) = 0;
  virtual void PopupAtPointer(PopupMenu menu) = 0;
};

}  // namespace taviro
