#pragma once

#include <gtk/gtk.h>

#include <functional>

#include "ports/window_host.h"

namespace taviro::gtk {

// WindowHost over a GtkWindow. Moves and resizes go to the window system;
// their effects come back as configure and window-state events.
class GtkWindowHost final : public WindowHost {
 public:
  // The window comes later than the rules that drive it; nothing happens
  // until it is attached.
  void Attach(GtkWindow* window) { window_ = window; }

  // Without a window manager (a bare X server) maximising and minimising are
  // done here and reported through this callback, as a manager would.
  void SetEmulatedStateHandler(std::function<void(WindowState)> handler) {
    emulated_state_handler_ = std::move(handler);
  }

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
  bool HasWindowManager() const;
  void EmulateState(WindowState state);

  GtkWindow* window_ = nullptr;
  PointerShape pointer_ = PointerShape::kArrow;
  std::function<void(WindowState)> emulated_state_handler_;
  WindowState emulated_state_ = WindowState::kNormal;
  GdkRectangle normal_geometry_{};
};

}  // namespace taviro::gtk
