#pragma once

#include <gtk/gtk.h>

#include <functional>

#include "linux/gtk/gobject_ptr.h"

namespace taviro::mpv {

// A borderless window over the whole monitor of `near`, holding `content`
// while the video is shown full screen. Escape, a double click and closing
// the window ask to leave; other keys go on to the window of `near`, so the
// keyboard keeps acting on the player.
class FullScreenWindow {
 public:
  // `content` must have no parent; it is taken out again on destruction.
  FullScreenWindow(GtkWidget* content, GtkWidget* near, std::function<void()> leave_requested);
  FullScreenWindow(const FullScreenWindow&) = delete;
  FullScreenWindow& operator=(const FullScreenWindow&) = delete;
  ~FullScreenWindow();

  GtkWindow* window() const { return GTK_WINDOW(window_.get()); }

 private:
  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer data);
  static gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer data);
  static gboolean OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer data);
  static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, gpointer data);
  static gboolean OnWindowState(GtkWidget* widget, GdkEventWindowState* event, gpointer data);
  void CoverMonitorOf(GtkWidget* near);
  void RequestLeave();

  GtkWidget* content_;
  gtk::GObjectPtr<GtkWidget> key_target_;
  std::function<void()> leave_requested_;
  gtk::GObjectPtr<GtkWidget> window_;
  gtk::SignalConnection draw_;
  gtk::SignalConnection key_press_;
  gtk::SignalConnection button_press_;
  gtk::SignalConnection delete_;
  gtk::SignalConnection window_state_;
  bool was_full_screen_ = false;
};

}  // namespace taviro::mpv
