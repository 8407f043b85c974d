#pragma once

#include <optional>

#include "ports/window_host.h"

namespace taviro {

struct MainWindow;

// The rules change the system window and record the change in the model at
// once, so that a rule reading the model right afterwards sees it. When the
// window system later reports the same change, the handlers below find
// nothing left to do.

void SetWindowState(MainWindow& window, WindowState state);
void SetWindowShown(MainWindow& window, bool shown);

// Sets the outer size in twips (a missing value keeps that side as it is),
// lays the window out, which may spring it back to its minimum, and asks the
// system for the resulting size.
void SetOuterSize(MainWindow& window, std::optional<int> width_twips, std::optional<int> height_twips);
void MoveOuter(MainWindow& window, int left_twips, int top_twips);

// Reports from the window system, e.g. a resize by the user or the window
// manager, or a maximise done by the system itself.
void OnWindowStateChanged(MainWindow& window, WindowState state);
void OnWindowResized(MainWindow& window, int width_pixels, int height_pixels);

}  // namespace taviro
