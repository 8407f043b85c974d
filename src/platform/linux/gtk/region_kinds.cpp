#include "platform/linux/gtk/region_kinds.h"

namespace taviro::gtk {

using R = RegionId;

RegionKind KindOf(RegionId id) {
  switch (id) {
    case R::Window: case R::zz: case R::zzp: case R::tv: case R::ying: case R::Pic1:
    case R::wait: case R::L1: case R::Pic2: case R::qvod: case R::Qvodx: case R::bo_zt:
    case R::gunt: case R::bo_ad: case R::bo_pad: case R::ad_huan: case R::l2: case R::Pic3:
    case R::Pic4: case R::Pic5: case R::shan: case R::tvleft: case R::tvright: case R::bo_foot:
    case R::yin: case R::P1:
      return RegionKind::kPanel;
    case R::ni_name: case R::zhun: case R::bo_name: case R::times: case R::next_s: case R::qk:
    case R::La_0: case R::jbi: case R::ni_bo1: case R::bo_tip:
      return RegionKind::kLabel;
    case R::QvodC: case R::Web1: case R::Web2: case R::Web3: case R::Web4: case R::Web5:
    case R::Web6: case R::Web7: case R::Web8: case R::Web9: case R::Web10: case R::Web11:
      return RegionKind::kHosted;
    default:
      return RegionKind::kPicture;
  }
}

std::optional<std::uint32_t> PanelBackground(RegionId id) {
  switch (id) {
    case R::l2: case R::tvleft: case R::tvright:
      return 0x404040;
    case R::shan:
      return 0x212121;
    case R::gunt:
      return 0x2B2B2B;
    case R::qvod:
      return 0x808080;
    case R::zz: case R::tv: case R::wait: case R::bo_zt: case R::bo_ad: case R::Qvodx:
      return 0x000000;
    case R::P1:
      return 0xFFFFE1;
    // The seek bar's parts: downloaded, played, and the thumb on top.
    case R::huan:
      return 0x4A4A4A;
    case R::gunt2:
      return 0x2F9BD8;
    case R::gunt1:
      return 0xE8E8E8;
    case R::bo_y:
      return 0x2F9BD8;
    case R::Pic1: case R::Pic2: case R::Pic3: case R::Pic4: case R::Pic5:
      return 0x212121;
    default:
      return std::nullopt;
  }
}

std::uint32_t DesignForeColour(RegionId id) {
  switch (id) {
    case R::times: return 0xFFFF00;
    case R::zhun: return 0xC0C000;
    case R::bo_name: return 0x64ABF2;
    case R::next_s: return 0xFFFFFF;
    case R::ni_name: case R::ni_bo1: return 0xD8DEDE;
    case R::qk: return 0x5A5A5A;
    case R::jbi: return 0xFFFFFF;
    case R::La_0: return 0xC0C0C0;
    default: return 0x000000;
  }
}

}  // namespace taviro::gtk
