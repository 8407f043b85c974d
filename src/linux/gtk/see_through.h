#pragma once

#include <gtk/gtk.h>

namespace taviro::gtk {

// A widget with a window of its own that paints nothing at the moment and only
// takes the pointer, as the picture over the video does while no picture is
// set. Frames put on screen past GTK may show through such a window.
inline constexpr char kSeeThroughKey[] = "taviro-see-through";

inline void SetSeeThrough(GtkWidget* widget, bool see_through) {
  g_object_set_data(G_OBJECT(widget), kSeeThroughKey, GINT_TO_POINTER(see_through ? 1 : 0));
}

inline bool IsSeeThrough(GdkWindow* window) {
  gpointer widget = nullptr;
  gdk_window_get_user_data(window, &widget);
  return widget != nullptr && g_object_get_data(G_OBJECT(widget), kSeeThroughKey) != nullptr;
}

}  // namespace taviro::gtk
