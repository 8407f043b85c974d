#pragma once

namespace taviro {

// The hidden picture array the window paints its chrome from: slot k holds
// one picture of the current skin.
class SkinPictures {
 public:
  virtual ~SkinPictures() = default;
  // Loads embedded picture `resource_number` into `slot`; false (and the
  // slot keeps its picture) when there is no such picture.
  virtual bool Load(int slot, int resource_number) = 0;
};

}  // namespace taviro
