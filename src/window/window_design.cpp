#include "window/window_design.h"

#include <array>
#include <string_view>

#include "ports/text_metrics.h"
#include "util/translate.h"
#include "window/bo_but_buttons.h"
#include "window/npc_buttons.h"
#include "window/window_layout.h"

namespace taviro {
namespace {

using R = RegionId;

struct DesignSize {
  RegionId id;
  int width;
  int height;
};

// Sizes the placement rules read but never set. Pictures come from the skin
// (knob 10 x 10 = its picture, volume bar 80 x 24); the rest are chosen to
// fit the 990 x 655 design window. Self-sizing labels start one line high
// and get their width from their caption.
// clang-format off
constexpr std::array kDesignSizes{
    DesignSize{R::Imi, 24, 24},        // title-bar logo
    DesignSize{R::adp, 90, 38},        // pause picture (skin picture 20), centred over the video
    DesignSize{R::ggx, 24, 24},        // close button of the web play page
    DesignSize{R::gtv, 24, 24},        // close button of the TV page
    DesignSize{R::jbi, 16, 16},        // mini-mode exit glyph
    DesignSize{R::bo_v, 10, 10},       // volume knob
    DesignSize{R::yin, 80, 24},        // volume bar
    DesignSize{R::jia, 180, 50},       // loading animation
    DesignSize{R::times, 72, 16},      // "00:00 /00:00", fixed so it stays right-aligned
    DesignSize{R::bo_zt, 0, 22},       // status strip height
    DesignSize{R::gunt, 0, 7},         // seek bar height
    DesignSize{R::gunt1, 7, 7},        // seek thumb
    DesignSize{R::gunt2, 0, 7},        // played part of the seek bar
    DesignSize{R::huan, 0, 7},         // downloaded part of the seek bar
    DesignSize{R::bo_pad, 468, 60},    // advert banner
    DesignSize{R::ad_huan, 450, 260},  // pause advert box
    DesignSize{R::next_s, 260, 16},    // "next episode" notice
    DesignSize{R::qk, 72, 14},         // footer label of the side panel
    DesignSize{R::zhun, 0, 16},        // self-sizing labels from here on
    DesignSize{R::bo_name, 0, 16},
    DesignSize{R::ni_name, 0, 16},
    DesignSize{R::ni_bo1, 0, 16},
    DesignSize{R::bo_tip, 0, 16},
    DesignSize{R::P1, 0, 0},           // sized around bo_tip by the hover rules
};
// clang-format on

struct DesignText {
  RegionId id;
  std::string_view text;
};

constexpr std::array kTooltips{
    DesignText{Npc(npc::kMinimise), N_("最小化")},
    DesignText{Npc(npc::kMaximise), N_("最大化")},
    DesignText{Npc(npc::kClose), N_("关闭")},
    DesignText{Npc(npc::kMiniMode), N_("精简模式")},
    DesignText{Npc(npc::kTopmost), N_("置顶")},
    DesignText{Npc(npc::kMainMenu), N_("菜单")},
    DesignText{Npc(npc::kSidePanelHandle), N_("关闭侧栏")},
    DesignText{Npc(npc::kTvSidePanelHandle), N_("关闭侧栏")},
    DesignText{BoBut(bo_but::kPlayPause), N_("播放")},
    DesignText{BoBut(bo_but::kStop), N_("停止")},
    DesignText{BoBut(bo_but::kMute), N_("静音")},
    DesignText{BoBut(bo_but::kFullScreen), N_("全屏")},
    DesignText{BoBut(bo_but::kOpenFile), N_("打开文件")},
    DesignText{BoBut(bo_but::kPrevious), N_("上一集")},
    DesignText{BoBut(bo_but::kSidePanel), N_("播放列表")},
    DesignText{BoBut(bo_but::kNext), N_("下一集")},
    DesignText{R::jbi, N_("退出精简")},
};

constexpr std::array kCaptions{
    DesignText{R::ni_name, "Taviro 2.3"},
    DesignText{R::zhun, N_("准备就绪")},
    DesignText{R::times, "00:00 /00:00"},
    DesignText{R::next_s, N_("正准备播放下一集，请稍后...")},
    DesignText{R::jbi, "✕"},  // the close cross the symbol font drew
    DesignText{R::qk, N_("∴ 管理任务")},
};

struct DesignColour {
  RegionId id;
  Colour colour;
};

constexpr std::array kTextColours{
    DesignColour{R::times, 0xFFFF00}, DesignColour{R::zhun, 0xC0C000},    DesignColour{R::bo_name, 0x64ABF2},
    DesignColour{R::next_s, kWhite},  DesignColour{R::ni_name, 0xD8DEDE}, DesignColour{R::ni_bo1, 0xD8DEDE},
    DesignColour{R::jbi, kWhite},     DesignColour{R::qk, kFooterGrey},
};

constexpr std::array kSelfSizing{R::zhun, R::bo_name, R::ni_name, R::ni_bo1, R::bo_tip};

// Shown only in mini mode or while the pointer rests on a button; the pages
// of the tabs not selected; the catalogue until it has loaded (the loading
// cover shows instead); panels that other rules show when they have content.
constexpr std::array kHiddenAtStart{R::jbi,    R::ni_bo1, R::P1,   R::zz,   R::tv,    R::ying,
                                    R::Pic1,   R::Pic2,   R::Pic4, R::Pic5, R::Qvodx, R::ad_huan,
                                    R::bo_pad, R::next_s, R::gtv,  R::Web6};

// Pictures that are not tiles of a button sheet.
constexpr Tile kLoadingPicture{kExtraPictureBase + 2, 0, 0, 180, 50, false};
constexpr Tile kPausePicture{20, 0, 0, 90, 38, false};
// The play pages' close buttons wear the title bar's close tile.
constexpr Tile kCloseButton{1, 120, 0, 24, 24, false};

}  // namespace

void ApplyDesignSizes(WindowModel& model) {
  for (const DesignSize& size : kDesignSizes) {
    model[size.id].rect.width = size.width;
    model[size.id].rect.height = size.height;
  }
}

void ApplyDesignLook(WindowModel& model) {
  for (const DesignText& tip : kTooltips) {
    model[tip.id].tooltip = tip.text;
  }
  for (const DesignText& caption : kCaptions) {
    model[caption.id].caption = caption.text;
  }
  for (const DesignColour& colour : kTextColours) {
    model[colour.id].fore_colour = colour.colour;
  }
  for (RegionId id : kSelfSizing) {
    model[id].auto_size = true;
  }
  for (RegionId id : kHiddenAtStart) {
    model[id].visible = false;
  }
  model[R::jia].face = kLoadingPicture;
  model[R::adp].face = kPausePicture;
  model[R::ggx].face = kCloseButton;
  model[R::gtv].face = kCloseButton;
}

void FitAutoSizeLabel(WindowModel& model, RegionId id, TextMetrics& text) {
  RegionState& label = model[id];
  if (!label.auto_size) {
    return;
  }
  const TextSize size = text.MeasureLabel(label.caption);
  label.rect.width = size.width;
  label.rect.height = size.height;
}

bool HostsAView(RegionId id) { return id == R::QvodC || (id >= R::Web1 && id <= R::Web11); }

// What lies underneath goes in first: the hosted views, so the close buttons
// over the play pages stay on top; the side panel's header strip, which the
// side tabs sit on; the seek bar's downloaded and played parts, under its
// thumb.
int StackingLayer(RegionId id) {
  if (HostsAView(id)) {
    return 0;
  }
  if (id == R::npc_10 || id == R::huan) {
    return 1;
  }
  return id == R::gunt2 ? 2 : 3;
}

// clang-format off
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
// clang-format on

}  // namespace taviro
