#pragma once

namespace taviro {

// The keys the window gives to the player, numbered as the Windows virtual
// key codes the keyboard rules are written in; every other key arrives as kOther.
enum class KeyCode : int {
  kOther = 0,
  kSpace = 32,
  kLeft = 37,
  kUp = 38,
  kRight = 39,
  kDown = 40,
  kS = 83,              // screenshot
  kX = 88,              // subtitles 0.1 s later
  kZ = 90,              // subtitles 0.1 s earlier
  kBracketLeft = 219,   // slower
  kBracketRight = 221,  // faster
};

}  // namespace taviro
