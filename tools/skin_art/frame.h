#pragma once

#include "canvas.h"
#include "skin.h"

namespace taviro::skin_art {

// Height of the title band at the top of the frame picture: the pages start
// right below it.
inline constexpr int kTitleBand = 39;

// The 80 x 108 nine-piece source of the window frame: the title band on top,
// a two-pixel border down both sides and along the bottom, rounded corners.
// The middle columns and the side rows are uniform so that the stretched
// pieces of both the normal and the mini-mode cut join without a seam.
Canvas DrawFrame(const Skin& skin);

}  // namespace taviro::skin_art
