#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <functional>

#include "ui/control_description.h"

namespace taviro::gtk {

// What assistive technology reads of a painted control, and what its
// action does. `activate` runs from the main loop, after the request.
struct ControlHooks {
  std::function<ControlDescription()> describe;
  std::function<void()> activate;
  // Sliders: a value set by assistive technology, run as `activate` is.
  std::function<void(int)> set_value = {};
};

// Widgets that paint and take the pointer as their plain kind does, and
// show assistive technology the control they draw: buttons and tabs with an
// action and their pressed or selected state, sliders with a value. Each is
// floating, for a container to take.
GtkWidget* NewControlArea();  // a drawing area
GtkWidget* NewControlBox();   // an event box around a label or a picture
GtkWidget* NewSliderPanel();  // a layout whose parts stay out of the tree

// Gives a control widget its hooks, kept until the widget goes, and its role
// and name as described now.
void BindControl(GtkWidget* widget, ControlHooks hooks);

// Assistive technology calls the program by g_get_application_name(), not
// by its id.
void NameProgram();

// Tells assistive technology what changed between two descriptions.
void AnnounceControl(GtkWidget* widget, const ControlDescription& before, const ControlDescription& now);

// A two-line ring inside the widget's edge while the keyboard focus is on it
// (colours 0xRRGGBB).
void DrawFocusRing(GtkWidget* widget, cairo_t* cr, std::uint32_t outer, std::uint32_t inner);

}  // namespace taviro::gtk
