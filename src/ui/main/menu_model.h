#pragma once

#include <string>
#include <string_view>

namespace taviro {

inline constexpr std::string_view kMiniModeCaption = "精简模式";
inline constexpr std::string_view kLeaveMiniModeCaption = "退出精简";
inline constexpr std::string_view kMuteCaption = "静音";
inline constexpr std::string_view kUnmuteCaption = "取消静音";

// Menu item texts that the window's rules read and write. The mini-mode item
// keeps its state in its caption, as the toggle buttons do in tooltips; the
// mute item's caption follows the mute button.
struct MenuModel {
  std::string q_jing{kMiniModeCaption};
  std::string q_yin{kMuteCaption};
  // The check mark of "自动关机": power the machine off when play ends.
  bool kaiqi = false;
};

}  // namespace taviro
