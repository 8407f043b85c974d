#include "linux/gtk/close_picture.h"

#include <algorithm>

#include "linux/gtk/accessible_controls.h"

namespace taviro::gtk {
namespace {

constexpr char kCloseName[] = "关闭";

ControlDescription CloseButton() {
  ControlDescription close;
  close.role = ControlRole::kPushButton;
  close.name = kCloseName;
  return close;
}

gboolean Draw(GtkWidget* widget, cairo_t* cr, gpointer /*data*/) {
  const double width = gtk_widget_get_allocated_width(widget);
  const double height = gtk_widget_get_allocated_height(widget);
  cairo_set_source_rgba(cr, 0.1, 0.1, 0.1, 0.85);
  cairo_rectangle(cr, 0, 0, width, height);
  cairo_fill(cr);
  const double arm = std::min(width, height) * 0.3;
  const double cx = width / 2;
  const double cy = height / 2;
  cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
  cairo_set_line_width(cr, 1.5);
  cairo_move_to(cr, cx - arm, cy - arm);
  cairo_line_to(cr, cx + arm, cy + arm);
  cairo_move_to(cr, cx + arm, cy - arm);
  cairo_line_to(cr, cx - arm, cy + arm);
  cairo_stroke(cr);
  return FALSE;
}

gboolean Released(GtkWidget* /*widget*/, GdkEventButton* event, gpointer data) {
  auto* on_click = static_cast<std::function<void()>*>(data);
  if (event->button == GDK_BUTTON_PRIMARY && *on_click) (*on_click)();
  return TRUE;
}

}  // namespace

GtkWidget* NewClosePicture(int width, int height, std::function<void()>* on_click) {
  GtkWidget* box = NewControlBox();
  gtk_widget_set_name(box, "close");
  BindControl(box, ControlHooks{CloseButton, [on_click] {
                                  if (*on_click) (*on_click)();
                                }});
  gtk_widget_add_events(box, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
  GtkWidget* area = gtk_drawing_area_new();
  gtk_widget_set_size_request(area, width, height);
  g_signal_connect(area, "draw", G_CALLBACK(Draw), nullptr);
  gtk_container_add(GTK_CONTAINER(box), area);
  g_signal_connect(box, "button-release-event", G_CALLBACK(Released), on_click);
  gtk_widget_show_all(box);
  return box;
}

}  // namespace taviro::gtk
