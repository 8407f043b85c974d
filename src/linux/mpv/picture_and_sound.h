#pragma once

#include <string>

#include "ports/player_control.h"

namespace taviro::mpv {

// The player options behind one picture fit.
struct FitOptions {
  const char* keepaspect;       // "no" stretches the picture to the area
  const char* aspect_override;  // "-1" keeps the file's own aspect
};

FitOptions FitOptionsFor(PictureFit fit);

// The audio filter chain that plays the channels so; empty for both as
// they are.
std::string SoundChannelFilter(SoundChannel channel);

}  // namespace taviro::mpv
