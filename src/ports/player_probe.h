#pragma once

namespace taviro {

// What start-up asks about the player before it shows a window.
class PlayerProbe {
 public:
  virtual ~PlayerProbe() = default;
  // Makes a player and lets it go at once: whether one can be made here.
  virtual bool CanCreatePlayer() = 0;
  // Whether the file of the player library is where the program loads it
  // from; when it is, a player that fails is damaged rather than missing.
  virtual bool LibraryPresent() = 0;
};

}  // namespace taviro
