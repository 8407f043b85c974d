#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <string>

#include "linux/gtk/skin_painting.h"
#include "window/window_model.h"

namespace taviro::gtk {

// Painting helpers of the settings dialog window.

// A page tab's style sheet, selected or not.
std::string TabCss(bool selected);

// The web-site link's colour and underline, under the pointer or not.
void SetLinkLook(GtkWidget* label, bool hot);

// The outline: a rectangle with each corner pixel cut away.
void ApplyShape(GtkWidget* window, int width, int height);

}  // namespace taviro::gtk
