#include "linux/gtk/main_window_controller.h"

#include "linux/gtk/key_mapping.h"
#include "linux/gtk/main_window_view.h"

namespace taviro::gtk {
namespace {

// When a resize drag has produced no new size for this long and the button
// is up, the drag is over.
constexpr guint kResizeSettleMs = 300;

MouseButton ToMouseButton(int button) {
  switch (button) {
    case 1: return MouseButton::kLeft;
    case 2: return MouseButton::kMiddle;
    default: return MouseButton::kRight;
  }
}

bool LeftButtonDown(GtkWidget* widget) {
  GdkDisplay* display = gtk_widget_get_display(widget);
  GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(display));
  GdkModifierType mask{};
  gdk_device_get_state(pointer, gdk_get_default_root_window(), nullptr, &mask);
  return (mask & GDK_BUTTON1_MASK) != 0;
}

}  // namespace

MainWindowController::~MainWindowController() {
  if (resize_timer_ != 0) {
    g_source_remove(resize_timer_);
  }
}

void MainWindowController::OnPress(RegionId region, int button, int x, int y) {
  if (events_.Press(region, ToMouseButton(button), x, y)) {
    WatchResizeDrag();
  }
}

void MainWindowController::OnRelease(RegionId region, int /*button*/, int x, int y) {
  events_.Release(region, x, y);
}

void MainWindowController::OnClick(RegionId region) { events_.Click(region); }

void MainWindowController::OnDoubleClick(RegionId region) { events_.DoubleClick(region); }

void MainWindowController::OnPointerMove(RegionId region, int x, int y, bool left_down) {
  events_.PointerMove(region, x, y, left_down);
}

void MainWindowController::OnPointerLeave(RegionId region) { events_.PointerLeave(region); }

void MainWindowController::OnResized(int width, int height) {
  events_.Resized(width, height);
  if (resize_drag_) {
    WatchResizeDrag();
  }
}

void MainWindowController::OnStateChanged(WindowState state) { events_.StateChanged(state); }

void MainWindowController::OnCloseRequest() { events_.CloseRequest(); }

void MainWindowController::OnKeyPress(unsigned key_value, unsigned /*modifiers*/) {
  events_.KeyPress(KeyFromGdk(key_value));
}

void MainWindowController::OnActivate(RegionId region) { events_.Activate(region); }

void MainWindowController::OnSliderStep(RegionId region, bool up) { events_.SliderStep(region, up); }

// The window system runs the resize loop on its own; the end of the drag is
// when the sizes stop coming and the button is up.
void MainWindowController::WatchResizeDrag() {
  resize_drag_ = true;
  if (resize_timer_ != 0) {
    g_source_remove(resize_timer_);
  }
  resize_timer_ = g_timeout_add(kResizeSettleMs, OnResizeSettled, this);
}

gboolean MainWindowController::OnResizeSettled(gpointer data) {
  auto* self = static_cast<MainWindowController*>(data);
  if (self->view_ != nullptr && LeftButtonDown(GTK_WIDGET(self->view_->window()))) {
    return G_SOURCE_CONTINUE;
  }
  self->resize_timer_ = 0;
  self->resize_drag_ = false;
  self->events_.ResizeDragEnded();
  return G_SOURCE_REMOVE;
}

}  // namespace taviro::gtk
