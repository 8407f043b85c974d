#pragma once

#include "ports/player_probe.h"

namespace taviro::mpv {

// libmpv asked whether it works: a player made with no picture and no sound
// and ended at once, and the library file the program was loaded with. A
// program whose own player started already knows the answer and makes none.
class MpvProbe final : public PlayerProbe {
 public:
  explicit MpvProbe(bool player_started = false) : player_started_(player_started) {}
  bool CanCreatePlayer() override;
  bool LibraryPresent() override;

 private:
  bool player_started_;
};

}  // namespace taviro::mpv
