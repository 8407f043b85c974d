#pragma once

#include <optional>
#include <string>

namespace taviro::mpv {

// The player options behind one picture-fit choice of the control.
struct PictureFit {
  const char* keepaspect;       // "no" stretches the picture to the area
  const char* aspect_override;  // "-1" keeps the file's own aspect
};

// 0 stretch, 1 keep the aspect, 2 4:3, 3 5:4, 4 16:9; nothing for other values.
std::optional<PictureFit> PictureFitFor(int fit);

// The audio filter chain for a sound-channel choice of the control: 0 both
// channels as they are, 1 left only, 2 right only, 4 left on both, 5 right on
// both; nothing for other values (3 is not a choice).
std::optional<std::string> SoundChannelFilter(int channel);

}  // namespace taviro::mpv
