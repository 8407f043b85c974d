#pragma once

#include <vector>

#include "canvas.h"
#include "skin.h"

namespace taviro::skin_art {

struct SlotPicture {
  int slot;
  Canvas picture;
};

// Every picture of one skin, by slot. Slot 19 has no picture in either skin
// and slot 20 exists for skin 0 only: the window keeps what the slot held.
std::vector<SlotPicture> DrawSkinSlots(const Skin& skin);

}  // namespace taviro::skin_art
