#pragma once

#include <gtk/gtk.h>

#include "platform/window_host.h"

namespace taviro::gtk {

// WindowHost over a GtkWindow. Moves and resizes go to the window system;
// their effects come back as configure and window-state events.
class GtkWindowHost final : public WindowHost {
 public:
  explicit GtkWindowHost(GtkWindow* window) : window_(window) {}

  void SetState(WindowState state) override;
  void SetVisible(bool visible) override;
  void SetTopmost(bool topmost) override;
  void Resize(int width, int height) override;
  void Move(int left, int top) override;
  void BeginMoveDrag() override;
  void BeginResizeDrag(ResizeEdge edge) override;
  void SetPointer(PointerShape shape) override;
  void ProcessPendingEvents() override;
  ScreenRect WorkArea() override;
  ScreenRect ScreenBounds() override;

 private:
  GtkWindow* window_;
  PointerShape pointer_ = PointerShape::kArrow;
};

}  // namespace taviro::gtk
