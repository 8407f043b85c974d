#pragma once

#include <vector>

#include "ports/menu_presenter.h"
#include "support/call_log.h"

namespace taviro::testing {

class FakeMenuPresenter : public MenuPresenter {
 public:
  struct Popup {
    PopupMenu menu;
    bool at_pointer;
    int x;
    int y;
  };

  explicit FakeMenuPresenter(CallLog* log = nullptr) : log_(log) {}

  void PopupAt(PopupMenu menu, int x, int y) override {
    popups.push_back({menu, false, x, y});
    AddTo(log_, "menus.PopupAt");
  }
  void PopupAtPointer(PopupMenu menu) override {
    popups.push_back({menu, true, 0, 0});
    AddTo(log_, "menus.PopupAtPointer");
  }

  std::vector<Popup> popups;

 private:
  CallLog* log_;
};

}  // namespace taviro::testing
