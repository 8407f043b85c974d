#include "linux/gtk/gtk_window_host.h"

#include <gdk/gdkx.h>

#include <cstdio>
#include <cstdlib>

namespace taviro::gtk {
namespace {

GdkMonitor* MonitorOf(GtkWindow* window) {
  GdkDisplay* display = gdk_display_get_default();
  GdkWindow* native = window != nullptr ? gtk_widget_get_window(GTK_WIDGET(window)) : nullptr;
  GdkMonitor* monitor = native != nullptr ? gdk_display_get_monitor_at_window(display, native) : nullptr;
  if (monitor == nullptr) {
    monitor = gdk_display_get_primary_monitor(display);
  }
  return monitor != nullptr ? monitor : gdk_display_get_monitor(display, 0);
}

ScreenRect ToScreenRect(const GdkRectangle& r) { return {r.x, r.y, r.x + r.width, r.y + r.height}; }

GdkWindowEdge ToGdkEdge(ResizeEdge edge) {
  switch (edge) {
    case ResizeEdge::kTopLeft: return GDK_WINDOW_EDGE_NORTH_WEST;
    case ResizeEdge::kLeft: return GDK_WINDOW_EDGE_WEST;
    case ResizeEdge::kBottomLeft: return GDK_WINDOW_EDGE_SOUTH_WEST;
    case ResizeEdge::kTop: return GDK_WINDOW_EDGE_NORTH;
    case ResizeEdge::kBottom: return GDK_WINDOW_EDGE_SOUTH;
    case ResizeEdge::kTopRight: return GDK_WINDOW_EDGE_NORTH_EAST;
    case ResizeEdge::kRight: return GDK_WINDOW_EDGE_EAST;
    case ResizeEdge::kBottomRight: return GDK_WINDOW_EDGE_SOUTH_EAST;
  }
  return GDK_WINDOW_EDGE_SOUTH_EAST;
}

const char* CursorName(PointerShape shape) {
  switch (shape) {
    case PointerShape::kArrow: return "default";
    case PointerShape::kSizeNwSe: return "nwse-resize";
    case PointerShape::kSizeNeSw: return "nesw-resize";
    case PointerShape::kSizeWe: return "ew-resize";
    case PointerShape::kSizeNs: return "ns-resize";
  }
  return "default";
}

// Position and time of the event being handled, for drags the window system
// takes over.
struct PointerPress {
  int button = 1;
  gint root_x = 0;
  gint root_y = 0;
  guint32 time = GDK_CURRENT_TIME;
};

PointerPress CurrentPress(GtkWindow* window) {
  PointerPress press;
  GdkEvent* event = gtk_get_current_event();
  if (event != nullptr) {
    gdouble x = 0;
    gdouble y = 0;
    if (gdk_event_get_root_coords(event, &x, &y)) {
      press.root_x = static_cast<gint>(x);
      press.root_y = static_cast<gint>(y);
    }
    press.time = gdk_event_get_time(event);
    gdk_event_free(event);
    return press;
  }
  GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(GTK_WIDGET(window)));
  gdk_device_get_position(gdk_seat_get_pointer(seat), nullptr, &press.root_x, &press.root_y);
  return press;
}

}  // namespace

bool GtkWindowHost::HasWindowManager() const {
  GdkScreen* screen = gdk_screen_get_default();
  if (!GDK_IS_X11_SCREEN(screen)) {
    return true;  // Wayland compositors always manage windows
  }
  return gdk_x11_screen_supports_net_wm_hint(screen,
                                             gdk_atom_intern_static_string("_NET_WM_STATE_MAXIMIZED_VERT"));
}

void GtkWindowHost::EmulateState(WindowState state) {
  if (state == emulated_state_) {
    return;
  }
  if (state == WindowState::kMaximised) {
    gtk_window_get_position(window_, &normal_geometry_.x, &normal_geometry_.y);
    gtk_window_get_size(window_, &normal_geometry_.width, &normal_geometry_.height);
    const ScreenRect area = WorkArea();
    gtk_window_move(window_, area.left, area.top);
    gtk_window_resize(window_, area.width(), area.height());
  } else if (state == WindowState::kNormal && emulated_state_ == WindowState::kMaximised) {
    gtk_window_move(window_, normal_geometry_.x, normal_geometry_.y);
    gtk_window_resize(window_, normal_geometry_.width, normal_geometry_.height);
  }
  // Minimising has no meaning without a manager to restore from; the state
  // is still reported so the window's rules run as they would.
  emulated_state_ = state;
  if (emulated_state_handler_) {
    emulated_state_handler_(state);
  }
}

void GtkWindowHost::SetState(WindowState state) {
  if (window_ == nullptr) {
    return;
  }
  if (std::getenv("TAVIRO_DEBUG") != nullptr) {
    const char* names[] = {"normal", "minimised", "maximised"};
    std::fprintf(stderr, "taviro: window %s\n", names[static_cast<int>(state)]);
  }
  if (!HasWindowManager()) {
    EmulateState(state);
    return;
  }
  switch (state) {
    case WindowState::kMinimised: gtk_window_iconify(window_); break;
    case WindowState::kMaximised: gtk_window_maximize(window_); break;
    case WindowState::kNormal:
      gtk_window_deiconify(window_);
      gtk_window_unmaximize(window_);
      break;
  }
}

void GtkWindowHost::SetVisible(bool visible) {
  if (window_ == nullptr) {
    return;
  }
  if (std::getenv("TAVIRO_DEBUG") != nullptr) {
    std::fprintf(stderr, "taviro: window %s\n", visible ? "shown" : "hidden");
  }
  if (visible) {
    gtk_window_present(window_);
  } else {
    gtk_widget_hide(GTK_WIDGET(window_));
  }
}

void GtkWindowHost::SetTopmost(bool topmost) {
  if (window_ == nullptr) {
    return;
  }
  gtk_window_set_keep_above(window_, topmost);
}

void GtkWindowHost::Resize(int width, int height) {
  if (window_ != nullptr) {
    gtk_window_resize(window_, width, height);
  }
}

void GtkWindowHost::Move(int left, int top) {
  if (window_ != nullptr) {
    gtk_window_move(window_, left, top);
  }
}

void GtkWindowHost::BeginMoveDrag() {
  if (window_ == nullptr) {
    return;
  }
  const PointerPress press = CurrentPress(window_);
  gtk_window_begin_move_drag(window_, press.button, press.root_x, press.root_y, press.time);
}

void GtkWindowHost::BeginResizeDrag(ResizeEdge edge) {
  if (window_ == nullptr) {
    return;
  }
  const PointerPress press = CurrentPress(window_);
  gtk_window_begin_resize_drag(window_, ToGdkEdge(edge), press.button, press.root_x, press.root_y,
                               press.time);
}

void GtkWindowHost::SetPointer(PointerShape shape) {
  if (shape == pointer_ || window_ == nullptr) {
    return;
  }
  pointer_ = shape;
  GdkWindow* native = gtk_widget_get_window(GTK_WIDGET(window_));
  if (native == nullptr) {
    return;
  }
  GdkCursor* cursor = gdk_cursor_new_from_name(gdk_window_get_display(native), CursorName(shape));
  gdk_window_set_cursor(native, cursor);
  if (cursor != nullptr) {
    g_object_unref(cursor);
  }
}

void GtkWindowHost::ProcessPendingEvents() {
  // Bounded, so a stream of events cannot keep the caller here.
  for (int i = 0; i < 1000 && gtk_events_pending(); ++i) {
    gtk_main_iteration_do(FALSE);
  }
}

ScreenRect GtkWindowHost::WorkArea() {
  GdkRectangle area{};
  gdk_monitor_get_workarea(MonitorOf(window_), &area);
  return ToScreenRect(area);
}

ScreenRect GtkWindowHost::ScreenBounds() {
  GdkRectangle area{};
  gdk_monitor_get_geometry(MonitorOf(window_), &area);
  return ToScreenRect(area);
}

}  // namespace taviro::gtk
