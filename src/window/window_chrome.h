#pragma once

#include <array>

#include "window/window_model.h"

namespace taviro {

// One piece of the nine-piece frame: a rectangle of skin picture 0 drawn
// (stretched where the sizes differ) into a rectangle of the window.
struct FramePiece {
  Rect source;
  Rect destination;
};

// The eight frame pieces in painting order (left side, right side, bottom
// middle, bottom left, bottom right, top middle, top left, top right) for
// the given client size, in normal or mini mode.
std::array<FramePiece, 8> FramePieces(int client_width, int client_height, bool mini_mode);

// Gives every title-bar and control-bar button its normal face.
void PaintButtons(WindowModel& model);

}  // namespace taviro
