#pragma once

namespace taviro {

enum class WindowState { kNormal, kMinimised, kMaximised };

enum class ResizeEdge { kTopLeft, kLeft, kBottomLeft, kTop, kBottom, kTopRight, kRight, kBottomRight };

enum class PointerShape { kArrow, kSizeNwSe, kSizeNeSw, kSizeWe, kSizeNs };

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

// The top-level window as the system sees it. Sizes and positions are in
// pixels here; the window model converts from the twips the program keeps.
// Each call reports its effect back through the model's handlers (a state
// change, a new size), as the window system would.
class WindowHost {
 public:
  virtual ~WindowHost() = default;

  virtual void SetState(WindowState state) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetTopmost(bool topmost) = 0;
  virtual void Resize(int width, int height) = 0;
  virtual void Move(int left, int top) = 0;
  // Hands the pointer to the system's move or resize loop (the left button
  // is down).
  virtual void BeginMoveDrag() = 0;
  virtual void BeginResizeDrag(ResizeEdge edge) = 0;
  virtual void SetPointer(PointerShape shape) = 0;
  // Lets pending window events run before the caller goes on.
  virtual void ProcessPendingEvents() = 0;

  virtual ScreenRect WorkArea() = 0;
  virtual ScreenRect ScreenBounds() = 0;
};

}  // namespace taviro
