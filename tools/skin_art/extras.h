#pragma once

#include <string_view>

#include "canvas.h"
#include "skin.h"

namespace taviro::skin_art {

inline constexpr int kLoadingFrames = 12;
inline constexpr int kLoadingFrameMs = 80;
inline constexpr int kCoverWidth = 180;  // loading and error pictures
inline constexpr int kCoverHeight = 50;
inline constexpr std::string_view kLoadingText = "正在加载，请稍候...";
inline constexpr std::string_view kErrorText = "加载失败，点击重试";
inline constexpr std::string_view kPauseText = "继续播放";

// 24 x 24 title-bar logo on the skin's title band.
Canvas DrawLogo(const Skin& skin);
// kLoadingFrames frames of 180 x 50 side by side, on the black loading cover.
Canvas DrawLoadingStrip();
// 180 x 50 catalogue error picture, which also takes the retry click.
Canvas DrawErrorPicture();
// size x size application icon with a transparent surround.
Canvas DrawAppIcon(int size);
// 90 x 38 picture shown over a paused video; a click resumes play.
Canvas DrawPausePicture(const Skin& skin);

}  // namespace taviro::skin_art
