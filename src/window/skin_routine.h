#pragma once

#include <string_view>

#include "window/window_model.h"

namespace taviro {

struct MainWindow;

// A skin fills the 21 skin picture slots; picture k of skin s is resource
// s * 100 + 101 + k. The title-bar logo is one of two pictures outside the
// skin.
inline constexpr int kSkinSlotCount = 21;
inline constexpr int kLogoA1Slot = kExtraPictureBase + 0;  // skin 0
inline constexpr int kLogoA2Slot = kExtraPictureBase + 1;  // any other skin

constexpr int SkinResourceNumber(int skin, int slot) { return skin * 100 + 101 + slot; }

// Fills the slots with the pictures the window is made with, before any
// skin: a skin that lacks a picture leaves the slot with this one. Skin 1
// has no pause picture (slot 20) of its own and shows skin 0's.
void LoadDesignPictures(MainWindow& window);

// Applies skin `s`. The first call (at start-up) lays the window out and
// leaves the stored skin number alone; later calls repaint the frame and
// store `s`.
void ApplySkin(MainWindow& window, int s);

// The skin to apply at start-up for the stored `Skin`/`Num` text: numbers of
// 2 or more mean 1; anything that is not 1 or more means 0.
int StartupSkinIndex(int stored);

}  // namespace taviro
