#pragma once

#include <gtk/gtk.h>

#include <span>

namespace taviro::gtk {

// Moves the keyboard focus from the stop that holds `focus` (or from before
// the first, after the last, when none does) to the next stop that is shown
// and sensitive, going round. A stop that cannot take the focus itself
// hands it to a child (a web view enters its page). False when no other stop
// took it.
bool MoveFocusAlong(GtkWidget* focus, std::span<GtkWidget* const> stops, bool forward);

// Space and Enter press the focused control.
bool IsActivateKey(guint key);
// What an arrow does to a focused slider: +1 for right and up, -1 for left
// and down, 0 for any other key.
int ArrowStep(guint key);

// Whether the event being handled is a key press; the focus moves by itself
// at other times too (when a window is shown).
bool HandlingKeyPress();

}  // namespace taviro::gtk
