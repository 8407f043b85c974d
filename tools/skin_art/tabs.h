#pragma once

#include <array>
#include <string_view>

#include "canvas.h"
#include "skin.h"

namespace taviro::skin_art {

// Labels, in the order of the tiles in the sheets.
inline constexpr std::array<std::string_view, 4> kMainTabLabels = {"正在播放", "影视库", "电视直播",
                                                                   "精彩推荐"};
inline constexpr std::array<std::string_view, 3> kSideTabLabels = {"剧集列表", "网络任务", "本地文件"};

// 400 x 37: the four main tabs (player, catalogue, TV, highlights), each 100
// wide, selected or at rest. They lie on the title band from its top row.
Canvas DrawMainTabs(const Skin& skin, bool selected);
// 180 x 42: the three side-panel tabs (episodes, network tasks, local
// files), 60 x 21 each; the top row selected, the bottom row at rest.
Canvas DrawSideTabs(const Skin& skin);
// 2 x 28: the side-panel header strip, stretched sideways.
Canvas DrawSideHeader(const Skin& skin);
// 6 x 40: the side-panel handle, 3 wide, with the panel shown (arrow
// pointing away, to hide it) and hidden (arrow pointing back).
Canvas DrawSideHandles(const Skin& skin);

}  // namespace taviro::skin_art
