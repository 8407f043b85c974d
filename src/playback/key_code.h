#pragma once

namespace taviro {

// The keys the window gives to the player, numbered as the original's key
// codes; every other key arrives as kOther.
enum class KeyCode : int {
  kOther = 0,
  kSpace = 32,
  kLeft = 37,
  kUp = 38,
  kRight = 39,
  kDown = 40,
};

}  // namespace taviro
