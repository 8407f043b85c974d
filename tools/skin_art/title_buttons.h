#pragma once

#include "canvas.h"
#include "skin.h"

namespace taviro::skin_art {

// Title-bar buttons are 24 x 24 and sit 4 pixels below the top of the
// title band.
inline constexpr int kTitleButton = 24;
inline constexpr int kTitleButtonTop = 4;

// 144 x 24: mini mode, (spare), menu, minimise, maximise, close.
Canvas DrawTitleButtons(const Skin& skin, bool hover);
// 48 x 24: restore, restore under the pointer.
Canvas DrawRestoreButton(const Skin& skin);
// 96 x 24: topmost off, off under the pointer, on, on under the pointer.
Canvas DrawTopmostButton(const Skin& skin);

}  // namespace taviro::skin_art
