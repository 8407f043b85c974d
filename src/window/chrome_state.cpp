#include "window/chrome_state.h"

#include <string>

#include "util/translate.h"
#include "window/bo_but_buttons.h"
#include "window/chrome_faces.h"
#include "window/menu_model.h"
#include "window/npc_buttons.h"

namespace taviro {

void SetPlayingShown(WindowModel& model, bool playing) {
  model.playing = playing;
  RegionState& button = model[BoBut(bo_but::kPlayPause)];
  button.tooltip = playing ? N_("暂停") : N_("播放");
  button.face = ControlButtonFace(model, bo_but::kPlayPause, false);
}

void SetMutedShown(WindowModel& model, bool muted) {
  model.muted = muted;
  RegionState& button = model[BoBut(bo_but::kMute)];
  button.tooltip = MuteCaption(muted);
  button.face = ControlButtonFace(model, bo_but::kMute, false);
}

std::string_view MuteCaption(bool muted) { return muted ? kUnmuteCaption : kMuteCaption; }

void SetTopmostShown(WindowModel& model, bool topmost) {
  model.topmost = topmost;
  RegionState& button = model[Npc(npc::kTopmost)];
  button.tooltip = topmost ? N_("取消置顶") : N_("置顶");
  button.face = TitleButtonFace(model, npc::kTopmost, false);
}

void ShowSidePanelShown(WindowModel& model, SidePanel panel, bool shown) {
  const bool tv = panel == SidePanel::kTvChannels;
  (tv ? model.tv_side_panel_shown : model.side_panel_shown) = shown;
  model[Npc(tv ? npc::kTvSidePanelHandle : npc::kSidePanelHandle)].tooltip =
      shown ? N_("关闭侧栏") : N_("显示侧栏");
}

void ShowMaximiseButton(WindowModel& model) {
  RegionState& button = model[Npc(npc::kMaximise)];
  button.tooltip = model.state == WindowState::kMaximised ? N_("还原") : N_("最大化");
  button.face = TitleButtonFace(model, npc::kMaximise, false);
}

}  // namespace taviro
