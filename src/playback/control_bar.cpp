#include "playback/control_bar.h"

#include "platform/player_control.h"
#include "ui/main/chrome_faces.h"
#include "ui/main/title_bar_commands.h"

namespace taviro {
namespace {

using R = RegionId;

constexpr std::string_view kMuteTip = "静音";
constexpr std::string_view kUnmuteTip = "取消静音";

}  // namespace

void ControlBar::Click(int index) {
  WindowModel& model = window_.model;
  model[R::P1].visible = false;
  if (model.SuppressClick == 1) {
    model.SuppressClick = 0;
    return;
  }
  switch (index) {
    case 2: {
      RegionState& button = model[BoBut(2)];
      const bool mute = button.tooltip == kMuteTip;
      button.tooltip = mute ? kUnmuteTip : kMuteTip;
      window_.ports.player.SetMuted(mute);
      button.face = ControlButtonFace(model, 2, false);
      break;
    }
    case 6:
      if (model.CurrentMainTab == 9) {
        NpcClick(window_, 6);
      } else if (model.CurrentMainTab == 13) {
        NpcClick(window_, 15);
      }
      break;
    default:
      break;
  }
}

}  // namespace taviro
