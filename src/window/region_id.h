#pragma once

#include <cstdint>
#include <string_view>

namespace taviro {

// Every placed region of the main window, named as the window's controls
// are named. Arrays (`npc`, `bo_but`, the web views) are consecutive.
// clang-format off
enum class RegionId : std::uint8_t {
  Window,
  Imi, ni_name,
  npc_0, npc_1, npc_2, npc_3, npc_4, npc_5, npc_6, npc_7,
  npc_8, npc_9, npc_10, npc_11, npc_12, npc_13, npc_14, npc_15,
  zz, zzp, tv, ying,
  Pic1, wait, jia,
  L1, Pic2, ggx, qvod, Qvodx, QvodC, Lqvod,
  bo_zt, zhun, bo_name, times,
  gunt, gunt1, gunt2, huan,
  bo_ad, adp, bo_pad, ad_huan, next_s,
  l2, Pic3, Pic4, Pic5, shan, qk,
  tvleft, gtv, tvright,
  bo_foot,
  bo_but_0, bo_but_1, bo_but_2, bo_but_3, bo_but_4, bo_but_5, bo_but_6, bo_but_7,
  yin, bo_v, bo_y, La_0,
  jbi, ni_bo1,
  P1, bo_tip,
  Web1, Web2, Web3, Web4, Web5, Web6, Web7, Web8, Web9, Web10, Web11,
  Count,
};
// clang-format on

inline constexpr int kRegionCount = static_cast<int>(RegionId::Count);

constexpr RegionId Npc(int index) { return static_cast<RegionId>(static_cast<int>(RegionId::npc_0) + index); }
constexpr RegionId BoBut(int index) {
  return static_cast<RegionId>(static_cast<int>(RegionId::bo_but_0) + index);
}
// Web views are numbered from 1, as in their names.
constexpr RegionId Web(int number) {
  return static_cast<RegionId>(static_cast<int>(RegionId::Web1) + number - 1);
}

// The region that contains `id` (the window contains itself).
RegionId ParentOf(RegionId id);
// The control's name, e.g. "npc(3)", "Web5", "bo_zt"; each region's own, so
// that it also serves as the region's accessible id (never its accessible
// name, which is what a person reads).
std::string_view RegionName(RegionId id);

}  // namespace taviro
