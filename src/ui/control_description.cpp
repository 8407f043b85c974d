#include "ui/control_description.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "playback/control_bar.h"
#include "playback/player_keys.h"
#include "util/format_seconds.h"
#include "util/translate.h"
#include "window/bo_but_buttons.h"
#include "window/layout_support.h"
#include "window/npc_buttons.h"
#include "window/title_bar_commands.h"

namespace taviro {
namespace {

using R = RegionId;

// The captions the tab pictures carry.
std::string_view TabCaption(int index) {
  switch (index) {
    case npc::kCatalogueTab: return N_("影视库");
    case npc::kPlayerTab: return N_("正在播放");
    case npc::kTvTab: return N_("电视直播");
    case npc::kHighlightsTab: return N_("精彩推荐");
    case npc::kEpisodeListTab: return N_("剧集列表");
    case npc::kTaskListTab: return N_("网络任务");
    case npc::kLocalFilesTab: return N_("本地文件");
    default: return {};
  }
}

bool IsMainTab(int index) {
  return index == npc::kCatalogueTab || index == npc::kPlayerTab || index == npc::kTvTab ||
         index == npc::kHighlightsTab;
}

bool IsSideTab(int index) {
  return index == npc::kEpisodeListTab || index == npc::kTaskListTab || index == npc::kLocalFilesTab;
}

int NpcIndexOf(RegionId id) { return static_cast<int>(id) - static_cast<int>(R::npc_0); }
bool IsNpc(RegionId id) { return id >= R::npc_0 && id <= R::npc_15; }
bool IsBoBut(RegionId id) { return id >= R::bo_but_0 && id <= R::bo_but_7; }

// The side panel of the page shown, which the control bar's panel button
// shows and hides.
bool SidePanelOfPageShown(const WindowModel& model) {
  if (model.main_tab == MainTab::kPlayer) return model.side_panel_shown;
  if (model.main_tab == MainTab::kTv) return model.tv_side_panel_shown;
  return false;
}

// The footer link's caption without its leading mark: "∴ 管理任务".
std::string WithoutMark(const std::string& caption) {
  const std::size_t space = caption.find(' ');
  return space == std::string::npos ? caption : caption.substr(space + 1);
}

std::string NameOf(const WindowModel& model, RegionId id) {
  if (IsNpc(id) && !TabCaption(NpcIndexOf(id)).empty()) {
    return std::string(TabCaption(NpcIndexOf(id)));
  }
  switch (id) {
    case R::gunt: return N_("播放进度");
    case R::yin: return N_("音量");
    case R::ggx: return N_("关闭网页播放");
    case R::gtv: return N_("关闭电视");
    case R::jia: return N_("重新载入");
    case R::qk: return WithoutMark(model[id].caption);
    default: return model[id].tooltip;
  }
}

// clang-format off
constexpr std::array kReadingOrder{
    R::jbi,
    Npc(npc::kTopmost), Npc(npc::kMiniMode), Npc(npc::kMainMenu), Npc(npc::kMinimise),
    Npc(npc::kMaximise), Npc(npc::kClose),
    Npc(npc::kCatalogueTab), Npc(npc::kPlayerTab), Npc(npc::kTvTab), Npc(npc::kHighlightsTab),
    R::jia, R::Web1, R::ggx, R::Web2, R::Web8, R::Web7, R::gunt, R::Web9, R::gtv, R::Web10,
    BoBut(bo_but::kPlayPause), BoBut(bo_but::kStop), BoBut(bo_but::kPrevious), BoBut(bo_but::kNext),
    BoBut(bo_but::kMute), R::yin, BoBut(bo_but::kOpenFile), BoBut(bo_but::kFullScreen),
    BoBut(bo_but::kSidePanel),
    Npc(npc::kSidePanelHandle), Npc(npc::kEpisodeListTab), Npc(npc::kTaskListTab), Npc(npc::kLocalFilesTab),
    R::Web5, R::Web3, R::Web4, R::qk,
    Npc(npc::kTvSidePanelHandle), R::Web11,
};
// clang-format on

}  // namespace

ControlRole RoleOf(RegionId id) {
  if (IsNpc(id)) {
    const int index = NpcIndexOf(id);
    if (IsMainTab(index) || IsSideTab(index)) return ControlRole::kPageTab;
    // Buttons whose caption flips ("置顶"/"取消置顶") say what a press does
    // now: push buttons, with no pressed state to contradict the name.
    return index == npc::kSidePanelHeader ? ControlRole::kNone : ControlRole::kPushButton;
  }
  if (IsBoBut(id)) {
    // The one button with a fixed caption and a state of its own.
    return id == BoBut(bo_but::kSidePanel) ? ControlRole::kToggleButton : ControlRole::kPushButton;
  }
  switch (id) {
    case R::gunt:
    case R::yin: return ControlRole::kSlider;
    case R::jbi:
    case R::ggx:
    case R::gtv:
    case R::jia:
    case R::qk: return ControlRole::kPushButton;
    default: return ControlRole::kNone;
  }
}

ControlDescription DescribeControl(const WindowModel& model, RegionId id, const SliderReadings& readings) {
  ControlDescription description;
  description.role = RoleOf(id);
  switch (description.role) {
    case ControlRole::kNone: return description;
    case ControlRole::kToggleButton: description.on = SidePanelOfPageShown(model); break;
    case ControlRole::kPageTab: {
      const int index = NpcIndexOf(id);
      description.on = index == (IsMainTab(index) ? ButtonOf(model.main_tab) : ButtonOf(model.side_tab));
      break;
    }
    case ControlRole::kSlider:
      if (id == R::gunt) {
        description.maximum = std::max(readings.duration, 0);
        description.value = std::clamp(readings.position, 0, description.maximum);
        description.value_text = FormatSeconds(description.value) + std::string(kTimeSeparator) +
                                 FormatSeconds(description.maximum);
      } else {
        description.maximum = 100;
        description.value = std::clamp(readings.volume, 0, 100);
        description.value_text = std::to_string(description.value) + "%";
      }
      break;
    case ControlRole::kPushButton: break;
  }
  description.name = NameOf(model, id);
  return description;
}

std::span<const RegionId> ReadingOrder() { return kReadingOrder; }

}  // namespace taviro
