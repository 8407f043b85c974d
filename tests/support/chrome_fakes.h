#pragma once

#include <string_view>
#include <vector>

#include "ports/text_metrics.h"
#include "ports/window_host.h"

namespace taviro::testing {

// Every character 7 pixels wide, every line 16 high.
class FixedWidthTextMetrics final : public TextMetrics {
 public:
  static constexpr int kCharWidth = 7;
  static constexpr int kLineHeight = 16;

  TextSize MeasureLabel(std::string_view text) override {
    int characters = 0;
    for (char byte : text) {
      if ((static_cast<unsigned char>(byte) & 0xC0U) != 0x80U) {
        ++characters;
      }
    }
    return TextSize{characters * kCharWidth, kLineHeight};
  }
};

// Records what the window rules ask of the top-level window.
class RecordingWindowHost final : public WindowHost {
 public:
  std::vector<PointerShape> pointers;
  std::vector<ResizeEdge> resize_drags;
  int move_drags = 0;

  PointerShape LastPointer() const { return pointers.empty() ? PointerShape::kArrow : pointers.back(); }

  void SetState(WindowState /*state*/) override {}
  void SetVisible(bool /*visible*/) override {}
  void SetTopmost(bool /*topmost*/) override {}
  void Resize(int /*width*/, int /*height*/) override {}
  void Move(int /*left*/, int /*top*/) override {}
  void BeginMoveDrag() override { ++move_drags; }
  void BeginResizeDrag(ResizeEdge edge) override { resize_drags.push_back(edge); }
  void SetPointer(PointerShape shape) override { pointers.push_back(shape); }
  void ProcessPendingEvents() override {}
  ScreenRect WorkArea() override { return ScreenRect{0, 0, 1280, 1000}; }
  ScreenRect ScreenBounds() override { return ScreenRect{0, 0, 1280, 1024}; }
};

}  // namespace taviro::testing
