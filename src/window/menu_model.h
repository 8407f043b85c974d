#pragma once

#include <string>
#include <string_view>

#include "ports/player_control.h"
#include "util/translate.h"

namespace taviro {

inline constexpr std::string_view kMiniModeCaption = N_("精简模式");
inline constexpr std::string_view kLeaveMiniModeCaption = N_("退出精简");
inline constexpr std::string_view kMuteCaption = N_("静音");
inline constexpr std::string_view kUnmuteCaption = N_("取消静音");

// Menu item state that the window's rules read and write. The mini-mode item
// keeps its state in its caption, as the toggle buttons do in tooltips; the
// mute item's caption follows the mute button. The three radio groups live
// only here, so every start begins with their first marks.
struct MenuModel {
  std::string q_jing{kMiniModeCaption};
  std::string q_yin{kMuteCaption};
  PictureFit picture_fit = PictureFit::kScale;
  SoundChannel sound_channel = SoundChannel::kMixed;
  // The check mark of "自动关机" (else "无操作"): power the machine off when
  // play ends.
  bool kaiqi = false;
};

}  // namespace taviro
