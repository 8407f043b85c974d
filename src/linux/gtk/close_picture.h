#pragma once

#include <gtk/gtk.h>

#include <functional>

namespace taviro::gtk {

// A painted close picture of the given size: a dark plate with a light
// cross. The click handler runs when the left button is released on it.
// The returned widget is floating, for a container to take.
GtkWidget* NewClosePicture(int width, int height, std::function<void()>* on_click);

}  // namespace taviro::gtk
