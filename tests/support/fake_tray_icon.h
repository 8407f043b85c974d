#pragma once

#include <string>
#include <vector>

#include "ports/tray_icon.h"
#include "support/call_log.h"

namespace taviro::testing {

class FakeTrayIcon : public TrayIcon {
 public:
  struct Balloon {
    std::string title;
    std::string text;
  };

  explicit FakeTrayIcon(CallLog* log = nullptr) : log_(log) {}

  void Add(const std::string& text) override {
    present = true;
    tooltip = text;
    AddTo(log_, "tray.Add");
  }
  void ShowBalloon(const std::string& title, const std::string& text) override {
    balloons.push_back({title, text});
    AddTo(log_, "tray.ShowBalloon");
  }
  bool Embedded() const override { return embedded; }
  void Remove() override {
    present = false;
    AddTo(log_, "tray.Remove");
  }

  bool present = false;
  bool embedded = true;  // a notification area shows the icon
  std::string tooltip;
  std::vector<Balloon> balloons;

 private:
  CallLog* log_;
};

}  // namespace taviro::testing
