#include "linux/gtk/resize_drag_watch.h"

namespace taviro::gtk {
namespace {

// When a drag has produced no new size for this long and the button is up,
// it is over.
constexpr guint kSettleMs = 300;

bool LeftButtonDown(GtkWidget* widget) {
  GdkDisplay* display = gtk_widget_get_display(widget);
  GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(display));
  GdkModifierType mask{};
  gdk_device_get_state(pointer, gdk_get_default_root_window(), nullptr, &mask);
  return (mask & GDK_BUTTON1_MASK) != 0;
}

}  // namespace

ResizeDragWatch::~ResizeDragWatch() {
  if (timer_ != 0) g_source_remove(timer_);
}

void ResizeDragWatch::Start() {
  dragging_ = true;
  if (timer_ != 0) g_source_remove(timer_);
  timer_ = g_timeout_add(kSettleMs, OnSettled, this);
}

void ResizeDragWatch::Resized() {
  if (dragging_) Start();
}

gboolean ResizeDragWatch::OnSettled(gpointer data) {
  auto* self = static_cast<ResizeDragWatch*>(data);
  if (LeftButtonDown(self->window_)) return G_SOURCE_CONTINUE;
  self->timer_ = 0;
  self->dragging_ = false;
  self->ended_();
  return G_SOURCE_REMOVE;
}

}  // namespace taviro::gtk
