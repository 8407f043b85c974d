#pragma once

#include "platform/player_probe.h"

namespace taviro::mpv {

// libmpv asked whether it works: a player made with no picture and no sound
// and ended at once, and the library file the program was loaded with.
class MpvProbe final : public PlayerProbe {
 public:
  bool CanCreatePlayer() override;
  bool LibraryPresent() override;
};

}  // namespace taviro::mpv
