#include "linux/mpv/picture_and_sound.h"

namespace taviro::mpv {

FitOptions FitOptionsFor(PictureFit fit) {
  switch (fit) {
    case PictureFit::kStretch: return {"no", "-1"};
    case PictureFit::kScale: break;
    case PictureFit::kFourThree: return {"yes", "4:3"};
    case PictureFit::kFiveFour: return {"yes", "5:4"};
    case PictureFit::kSixteenNine: return {"yes", "16:9"};
  }
  return {"yes", "-1"};
}

std::string SoundChannelFilter(SoundChannel channel) {
  switch (channel) {
    case SoundChannel::kMixed: break;
    case SoundChannel::kLeft: return "lavfi=[pan=stereo|c0=c0]";
    case SoundChannel::kRight: return "lavfi=[pan=stereo|c1=c1]";
    case SoundChannel::kLeftOnBoth: return "lavfi=[pan=stereo|c0=c0|c1=c0]";
    case SoundChannel::kRightOnBoth: return "lavfi=[pan=stereo|c0=c1|c1=c1]";
  }
  return "";
}

}  // namespace taviro::mpv
