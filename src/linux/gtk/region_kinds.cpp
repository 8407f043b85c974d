#include "linux/gtk/region_kinds.h"

#include "window/window_design.h"

namespace taviro::gtk {

using R = RegionId;

RegionKind KindOf(RegionId id) {
  if (HostsAView(id)) {
    return RegionKind::kHosted;
  }
  // clang-format off
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
    default:
      return RegionKind::kPicture;
  }
  // clang-format on
}

}  // namespace taviro::gtk
