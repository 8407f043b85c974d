#include "linux/gtk/focus_chain.h"

#include <gdk/gdkkeysyms.h>

namespace taviro::gtk {
namespace {

bool CanTakeFocus(GtkWidget* stop) {
  return gtk_widget_is_drawable(stop) && gtk_widget_is_sensitive(stop) &&
         gtk_widget_get_allocated_width(stop) > 1 && gtk_widget_get_allocated_height(stop) > 1;
}

bool Enter(GtkWidget* stop, GtkDirectionType direction) {
  if (gtk_widget_get_can_focus(stop)) {
    gtk_widget_grab_focus(stop);
    return true;
  }
  if (!GTK_IS_CONTAINER(stop)) {
    return false;
  }
  bool taken = false;
  GList* children = gtk_container_get_children(GTK_CONTAINER(stop));
  for (GList* child = children; child != nullptr && !taken; child = child->next) {
    GtkWidget* widget = GTK_WIDGET(child->data);
    taken = gtk_widget_get_visible(widget) && gtk_widget_child_focus(widget, direction);
  }
  g_list_free(children);
  return taken;
}

int IndexHolding(std::span<GtkWidget* const> stops, GtkWidget* focus) {
  if (focus == nullptr) {
    return -1;
  }
  for (std::size_t i = 0; i < stops.size(); ++i) {
    if (focus == stops[i] || gtk_widget_is_ancestor(focus, stops[i])) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace

bool MoveFocusAlong(GtkWidget* focus, std::span<GtkWidget* const> stops, bool forward) {
  const int count = static_cast<int>(stops.size());
  const int held = IndexHolding(stops, focus);
  const int from = held >= 0 ? held : (forward ? -1 : count);
  const GtkDirectionType direction = forward ? GTK_DIR_TAB_FORWARD : GTK_DIR_TAB_BACKWARD;
  for (int step = 1; step <= count; ++step) {
    const int at = ((from + (forward ? step : -step)) % count + count) % count;
    if (at == held) {
      break;
    }
    GtkWidget* stop = stops[static_cast<std::size_t>(at)];
    if (CanTakeFocus(stop) && Enter(stop, direction)) {
      return true;
    }
  }
  return false;
}

bool IsActivateKey(guint key) {
  return key == GDK_KEY_space || key == GDK_KEY_KP_Space || key == GDK_KEY_Return ||
         key == GDK_KEY_KP_Enter || key == GDK_KEY_ISO_Enter;
}

int ArrowStep(guint key) {
  switch (key) {
    case GDK_KEY_Right:
    case GDK_KEY_KP_Right:
    case GDK_KEY_Up:
    case GDK_KEY_KP_Up: return 1;
    case GDK_KEY_Left:
    case GDK_KEY_KP_Left:
    case GDK_KEY_Down:
    case GDK_KEY_KP_Down: return -1;
    default: return 0;
  }
}

bool HandlingKeyPress() {
  GdkEvent* event = gtk_get_current_event();
  const bool key = event != nullptr && event->type == GDK_KEY_PRESS;
  if (event != nullptr) {
    gdk_event_free(event);
  }
  return key;
}

}  // namespace taviro::gtk
