#pragma once

#include <string_view>

#include "window/window_model.h"

// Small helpers shared by the layout steps; not part of the window's API.
namespace taviro::layout {

inline Rect& RectOf(WindowModel& model, RegionId id) { return model[id].rect; }

inline void Move(WindowModel& model, RegionId id, int left, int top) {
  Rect& rect = model[id].rect;
  rect.left = left;
  rect.top = top;
}

inline void Place(WindowModel& model, RegionId id, int left, int top, int width, int height) {
  model[id].rect = Rect{left, top, width, height};
}

// Halves round towards minus infinity, so a region larger than its
// container is centred the same way on both sides of zero.
inline int Half(int value) { return value >= 0 ? value / 2 : -((-value + 1) / 2); }

}  // namespace taviro::layout
