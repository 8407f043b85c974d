#pragma once

#include <optional>

#include "window/window_model.h"

namespace taviro {

class WindowHost;

// Dragging the window from any free spot and resizing it by the 3-pixel
// band along its edges. x, y are client pixels. The toolkit's press,
// motion and release over the window body come here; the system's move and
// resize loops are started through the host.

enum class MouseButton { kLeft, kMiddle, kRight };

// TrackEdgeResize's actions, numbered as the window's own handlers pass them.
enum class EdgeAction { kMove = 0, kPress = 1, kRelease = 2 };

// Within 3 pixels of an edge (the edge pixels count).
bool InResizeBand(const WindowModel& model, int x, int y);

// The edge a resize from (x, y) would take, corners before sides; none off
// the band.
std::optional<ResizeEdge> ResizeZone(const WindowModel& model, int x, int y);

// Besides this, a move over the body clears the news line's hover flag,
// which the caller owns.
void BodyPointerMoved(WindowModel& model, WindowHost& host, int x, int y, bool left_button_down);
void BodyButtonPressed(WindowModel& model, WindowHost& host, MouseButton button, int x, int y);
void BodyButtonReleased(WindowModel& model, WindowHost& host, int x, int y);

void TrackEdgeResize(WindowModel& model, WindowHost& host, EdgeAction action, int x, int y);

}  // namespace taviro
