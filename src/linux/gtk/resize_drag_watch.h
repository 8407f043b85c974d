#pragma once

#include <gtk/gtk.h>

#include <functional>

namespace taviro::gtk {

// The window system runs an edge-resize drag on its own and reports no
// release for it: the drag is over when the sizes stop coming and the left
// button is up.
class ResizeDragWatch {
 public:
  ResizeDragWatch(GtkWidget* window, std::function<void()> ended)
      : window_(window), ended_(std::move(ended)) {}
  ResizeDragWatch(const ResizeDragWatch&) = delete;
  ResizeDragWatch& operator=(const ResizeDragWatch&) = delete;
  ~ResizeDragWatch();

  // A press began a drag.
  void Start();
  // The window took a new size: during a drag, the wait starts again.
  void Resized();

 private:
  static gboolean OnSettled(gpointer data);

  GtkWidget* window_;
  std::function<void()> ended_;
  bool dragging_ = false;
  guint timer_ = 0;
};

}  // namespace taviro::gtk
