#include "linux/mpv/full_screen_window.h"

#include <utility>

namespace taviro::mpv {

FullScreenWindow::FullScreenWindow(GtkWidget* content, GtkWidget* near, std::function<void()> leave_requested)
    : content_(content),
      leave_requested_(std::move(leave_requested)),
      window_(gtk::GObjectPtr<GtkWidget>::Retain(gtk_window_new(GTK_WINDOW_TOPLEVEL))) {
  GtkWidget* toplevel = gtk_widget_get_toplevel(near);
  if (gtk_widget_is_toplevel(toplevel)) {
    key_target_ = gtk::GObjectPtr<GtkWidget>::Retain(toplevel);
  }
  GtkWindow* window = GTK_WINDOW(window_.get());
  gtk_window_set_title(window, "Taviro");
  gtk_window_set_decorated(window, FALSE);
  gtk_widget_set_app_paintable(window_.get(), TRUE);
  gtk_widget_add_events(window_.get(), GDK_BUTTON_PRESS_MASK | GDK_KEY_PRESS_MASK | GDK_STRUCTURE_MASK);
  draw_ = gtk::Connect(window_.get(), "draw", &FullScreenWindow::OnDraw, this);
  key_press_ = gtk::Connect(window_.get(), "key-press-event", &FullScreenWindow::OnKeyPress, this);
  button_press_ = gtk::Connect(window_.get(), "button-press-event", &FullScreenWindow::OnButtonPress, this);
  delete_ = gtk::Connect(window_.get(), "delete-event", &FullScreenWindow::OnDelete, this);
  window_state_ = gtk::Connect(window_.get(), "window-state-event", &FullScreenWindow::OnWindowState, this);
  gtk_container_add(GTK_CONTAINER(window_.get()), content_);
  CoverMonitorOf(key_target_ ? key_target_.get() : near);
  gtk_widget_show_all(window_.get());
  gtk_window_present(window);
}

FullScreenWindow::~FullScreenWindow() {
  draw_.Disconnect();
  key_press_.Disconnect();
  button_press_.Disconnect();
  delete_.Disconnect();
  window_state_.Disconnect();
  if (gtk_widget_get_parent(content_) == window_.get()) {
    gtk_container_remove(GTK_CONTAINER(window_.get()), content_);
  }
  gtk_widget_destroy(window_.get());
}

// Placed over the monitor by hand as well, so it also covers the screen where
// no window manager honours the full-screen request.
void FullScreenWindow::CoverMonitorOf(GtkWidget* near) {
  GdkDisplay* display = gtk_widget_get_display(near);
  GdkWindow* near_window = gtk_widget_get_window(near);
  GdkMonitor* monitor = near_window != nullptr ? gdk_display_get_monitor_at_window(display, near_window)
                                               : gdk_display_get_primary_monitor(display);
  if (monitor == nullptr) {
    monitor = gdk_display_get_monitor(display, 0);
  }
  GtkWindow* window = GTK_WINDOW(window_.get());
  if (monitor == nullptr) {
    gtk_window_fullscreen(window);
    return;
  }
  GdkRectangle area{};
  gdk_monitor_get_geometry(monitor, &area);
  gtk_window_move(window, area.x, area.y);
  gtk_window_set_default_size(window, area.width, area.height);
  int index = 0;
  for (int i = 0; i < gdk_display_get_n_monitors(display); ++i) {
    if (gdk_display_get_monitor(display, i) == monitor) {
      index = i;
    }
  }
  gtk_window_fullscreen_on_monitor(window, gtk_widget_get_screen(window_.get()), index);
}

gboolean FullScreenWindow::OnDraw(GtkWidget* /*widget*/, cairo_t* cr, gpointer /*data*/) {
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  return FALSE;
}

// Leaving may destroy this object, so each handler calls a copy of the
// callback and touches nothing afterwards.
void FullScreenWindow::RequestLeave() {
  const std::function<void()> leave = leave_requested_;
  leave();
}

gboolean FullScreenWindow::OnKeyPress(GtkWidget* /*widget*/, GdkEventKey* event, gpointer data) {
  auto* self = static_cast<FullScreenWindow*>(data);
  if (event->keyval == GDK_KEY_Escape) {
    self->RequestLeave();
    return TRUE;
  }
  if (self->key_target_) {
    return gtk_widget_event(self->key_target_.get(), reinterpret_cast<GdkEvent*>(event));
  }
  return FALSE;
}

gboolean FullScreenWindow::OnButtonPress(GtkWidget* /*widget*/, GdkEventButton* event, gpointer data) {
  if (event->type == GDK_2BUTTON_PRESS && event->button == GDK_BUTTON_PRIMARY) {
    static_cast<FullScreenWindow*>(data)->RequestLeave();
    return TRUE;
  }
  return FALSE;
}

gboolean FullScreenWindow::OnDelete(GtkWidget* /*widget*/, GdkEvent* /*event*/, gpointer data) {
  static_cast<FullScreenWindow*>(data)->RequestLeave();
  return TRUE;
}

// A window manager that takes the window out of full screen (its own key or
// menu) ends full screen as Escape does.
gboolean FullScreenWindow::OnWindowState(GtkWidget* /*widget*/, GdkEventWindowState* event, gpointer data) {
  auto* self = static_cast<FullScreenWindow*>(data);
  const bool full_screen = (event->new_window_state & GDK_WINDOW_STATE_FULLSCREEN) != 0;
  if (full_screen) {
    self->was_full_screen_ = true;
  } else if (self->was_full_screen_ && (event->changed_mask & GDK_WINDOW_STATE_FULLSCREEN) != 0) {
    self->RequestLeave();
    return TRUE;
  }
  return FALSE;
}

}  // namespace taviro::mpv
