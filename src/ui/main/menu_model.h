#pragma once

#include <string>
#include <string_view>

namespace taviro {

inline constexpr std::string_view kMiniModeCaption = "精简模式";
inline constexpr std::string_view kLeaveMiniModeCaption = "退出精简";

// Menu item texts that the window's rules read and write. The mini-mode item
// keeps its state in its caption, as the toggle buttons do in tooltips.
struct MenuModel {
  std::string q_jing{kMiniModeCaption};
  // The check mark of "自动关机": power the machine off when play ends.
  bool kaiqi = false;
};

}  // namespace taviro
