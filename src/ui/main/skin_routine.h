#pragma once

#include <string_view>

namespace taviro {

struct MainWindow;

// A skin fills the 21 skin picture slots; picture k of skin s is resource
// s * 100 + 101 + k. The two title-bar logos are kept beside them, in the
// slots that follow.
inline constexpr int kSkinSlotCount = 21;
inline constexpr int kLogoA1Slot = 21;  // skin 0
inline constexpr int kLogoA2Slot = 22;  // any other skin

constexpr int SkinResourceNumber(int skin, int slot) { return skin * 100 + 101 + slot; }

// Applies skin `s`. The first call (at start-up) lays the window out and
// leaves the stored skin number alone; later calls repaint the frame and
// store `s`.
void p_p(MainWindow& window, int s);

// The skin to apply at start-up for the stored `Skin`/`Num` text: numbers of
// 2 or more mean 1; anything that is not 1 or more means 0.
int StartupSkinIndex(std::string_view stored);

}  // namespace taviro
