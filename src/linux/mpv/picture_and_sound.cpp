#include "linux/mpv/picture_and_sound.h"

namespace taviro::mpv {

std::optional<PictureFit> PictureFitFor(int fit) {
  switch (fit) {
    case 0: return PictureFit{"no", "-1"};
    case 1: return PictureFit{"yes", "-1"};
    case 2: return PictureFit{"yes", "4:3"};
    case 3: return PictureFit{"yes", "5:4"};
    case 4: return PictureFit{"yes", "16:9"};
    default: return std::nullopt;
  }
}

std::optional<std::string> SoundChannelFilter(int channel) {
  switch (channel) {
    case 0: return std::string();
    case 1: return std::string("lavfi=[pan=stereo|c0=c0]");
    case 2: return std::string("lavfi=[pan=stereo|c1=c1]");
    case 4: return std::string("lavfi=[pan=stereo|c0=c0|c1=c0]");
    case 5: return std::string("lavfi=[pan=stereo|c0=c1|c1=c1]");
    default: return std::nullopt;
  }
}

}  // namespace taviro::mpv
