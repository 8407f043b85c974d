#pragma once

#include <string>

#include "ports/window_host.h"
#include "support/call_log.h"

namespace taviro::testing {

// Remembers what the window was told, and plays a screen whose work area and
// bounds a test can set. It does not report back: the core updates its model
// itself.
class FakeWindowHost : public WindowHost {
 public:
  explicit FakeWindowHost(CallLog* log = nullptr) : log_(log) {}

  void SetState(WindowState new_state) override {
    state = new_state;
    AddTo(log_, "host.SetState(" + Name(new_state) + ")");
  }
  void SetVisible(bool is_visible) override {
    visible = is_visible;
    AddTo(log_, is_visible ? "host.SetVisible(true)" : "host.SetVisible(false)");
  }
  void SetTopmost(bool is_topmost) override {
    topmost = is_topmost;
    AddTo(log_, is_topmost ? "host.SetTopmost(true)" : "host.SetTopmost(false)");
  }
  void Resize(int new_width, int new_height) override {
    width = new_width;
    height = new_height;
    ++resize_count;
    AddTo(log_, "host.Resize(" + std::to_string(new_width) + "," + std::to_string(new_height) + ")");
  }
  void Move(int new_left, int new_top) override {
    left = new_left;
    top = new_top;
    AddTo(log_, "host.Move(" + std::to_string(new_left) + "," + std::to_string(new_top) + ")");
  }
  void BeginMoveDrag() override { AddTo(log_, "host.BeginMoveDrag"); }
  void BeginResizeDrag(ResizeEdge edge) override {
    last_resize_edge = edge;
    AddTo(log_, "host.BeginResizeDrag");
  }
  void SetPointer(PointerShape shape) override { pointer = shape; }
  void ProcessPendingEvents() override { AddTo(log_, "host.ProcessPendingEvents"); }
  ScreenRect WorkArea() override { return work_area; }
  ScreenRect ScreenBounds() override { return screen; }

  static std::string Name(WindowState s) {
    switch (s) {
      case WindowState::kNormal: return "normal";
      case WindowState::kMinimised: return "minimised";
      case WindowState::kMaximised: return "maximised";
    }
    return "?";
  }

  WindowState state = WindowState::kNormal;
  bool visible = false;
  bool topmost = false;
  int width = 0;
  int height = 0;
  int left = 0;
  int top = 0;
  int resize_count = 0;
  ResizeEdge last_resize_edge = ResizeEdge::kBottomRight;
  PointerShape pointer = PointerShape::kArrow;
  ScreenRect screen{0, 0, 1024, 768};
  ScreenRect work_area{0, 0, 1024, 740};

 private:
  CallLog* log_;
};

}  // namespace taviro::testing
