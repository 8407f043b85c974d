#include "window/region_id.h"

#include <array>

namespace taviro {
namespace {

using R = RegionId;

struct RegionInfo {
  RegionId id;
  RegionId parent;
  std::string_view name;
};

// Containment as the window builds it; the table is in enum order.
constexpr std::array<RegionInfo, kRegionCount> kRegions{{
    {R::Window, R::Window, "BA1"},
    {R::Imi, R::Window, "Imi"},
    {R::ni_name, R::Window, "ni_name"},
    {R::npc_0, R::Window, "npc(0)"},
    {R::npc_1, R::Window, "npc(1)"},
    {R::npc_2, R::Window, "npc(2)"},
    {R::npc_3, R::Window, "npc(3)"},
    {R::npc_4, R::Window, "npc(4)"},
    {R::npc_5, R::Window, "npc(5)"},
    {R::npc_6, R::zz, "npc(6)"},
    {R::npc_7, R::l2, "npc(7)"},
    {R::npc_8, R::Window, "npc(8)"},
    {R::npc_9, R::Window, "npc(9)"},
    {R::npc_10, R::l2, "npc(10)"},
    {R::npc_11, R::l2, "npc(11)"},
    {R::npc_12, R::l2, "npc(12)"},
    {R::npc_13, R::Window, "npc(13)"},
    {R::npc_14, R::Window, "npc(14)"},
    {R::npc_15, R::tv, "npc(15)"},
    {R::zz, R::Window, "zz"},
    {R::zzp, R::Window, "zzp"},
    {R::tv, R::Window, "tv"},
    {R::ying, R::Window, "ying"},
    {R::Pic1, R::zzp, "Pic1"},
    {R::wait, R::zzp, "wait"},
    {R::jia, R::wait, "jia"},
    {R::L1, R::zz, "L1"},
    {R::Pic2, R::L1, "Pic2"},
    {R::ggx, R::Pic2, "ggx"},
    {R::qvod, R::L1, "qvod"},
    {R::Qvodx, R::qvod, "Qvodx"},
    {R::QvodC, R::Qvodx, "QvodC"},
    {R::Lqvod, R::Qvodx, "Lqvod"},
    {R::bo_zt, R::qvod, "bo_zt"},
    {R::zhun, R::bo_zt, "zhun"},
    {R::bo_name, R::bo_zt, "bo_name"},
    {R::times, R::bo_zt, "times"},
    {R::gunt, R::qvod, "gunt"},
    {R::gunt1, R::gunt, "gunt1"},
    {R::gunt2, R::gunt, "gunt2"},
    {R::huan, R::gunt, "huan"},
    {R::bo_ad, R::qvod, "bo_ad"},
    {R::adp, R::bo_ad, "adp"},
    {R::bo_pad, R::bo_ad, "bo_pad"},
    {R::ad_huan, R::bo_ad, "ad_huan"},
    {R::next_s, R::bo_ad, "next_s"},
    {R::l2, R::zz, "l2"},
    {R::Pic3, R::l2, "Pic3"},
    {R::Pic4, R::l2, "Pic4"},
    {R::Pic5, R::l2, "Pic5"},
    {R::shan, R::l2, "shan"},
    {R::qk, R::shan, "qk"},
    {R::tvleft, R::tv, "tvleft"},
    {R::gtv, R::tvleft, "gtv"},
    {R::tvright, R::tv, "tvright"},
    {R::bo_foot, R::Window, "bo_foot"},
    {R::bo_but_0, R::bo_foot, "bo_but(0)"},
    {R::bo_but_1, R::bo_foot, "bo_but(1)"},
    {R::bo_but_2, R::bo_foot, "bo_but(2)"},
    {R::bo_but_3, R::bo_foot, "bo_but(3)"},
    {R::bo_but_4, R::bo_foot, "bo_but(4)"},
    {R::bo_but_5, R::bo_foot, "bo_but(5)"},
    {R::bo_but_6, R::bo_foot, "bo_but(6)"},
    {R::bo_but_7, R::bo_foot, "bo_but(7)"},
    {R::yin, R::bo_foot, "yin"},
    {R::bo_v, R::yin, "bo_v"},
    {R::bo_y, R::yin, "bo_y"},
    {R::La_0, R::bo_foot, "La(0)"},
    {R::jbi, R::Window, "jbi"},
    {R::ni_bo1, R::Window, "ni_bo1"},
    {R::P1, R::Window, "P1"},
    {R::bo_tip, R::P1, "bo_tip"},
    {R::Web1, R::Pic1, "Web1"},
    {R::Web2, R::Pic2, "Web2"},
    {R::Web3, R::Pic3, "Web3"},
    {R::Web4, R::Pic4, "Web4"},
    {R::Web5, R::Pic5, "Web5"},
    {R::Web6, R::Window, "Web6"},
    {R::Web7, R::ad_huan, "Web7"},
    {R::Web8, R::bo_pad, "Web8"},
    {R::Web9, R::ying, "Web9"},
    {R::Web10, R::tvleft, "Web10"},
    {R::Web11, R::tvright, "Web11"},
}};

constexpr bool TableIsInEnumOrder() {
  for (int i = 0; i < kRegionCount; ++i) {
    if (static_cast<int>(kRegions[static_cast<std::size_t>(i)].id) != i) {
      return false;
    }
  }
  return true;
}
static_assert(TableIsInEnumOrder());

}  // namespace

RegionId ParentOf(RegionId id) { return kRegions[static_cast<std::size_t>(id)].parent; }

std::string_view RegionName(RegionId id) { return kRegions[static_cast<std::size_t>(id)].name; }

}  // namespace taviro
