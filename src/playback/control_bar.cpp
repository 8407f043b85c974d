#include "playback/control_bar.h"

#include <optional>
#include <string>
#include <utility>

#include "app/path_names.h"
#include "app/text_number.h"
#include "app/truncate_by_width.h"
#include "lists/media_lists.h"
#include "platform/file_dialog.h"
#include "platform/player_control.h"
#include "playback/media_address.h"
#include "ui/main/chrome_faces.h"
#include "ui/main/content_mode.h"
#include "ui/main/title_bar_commands.h"
#include "ui/main/window_design.h"

namespace taviro {
namespace {

using R = RegionId;

// Npc buttons the bar presses.
constexpr int kTopmostButton = 4;
constexpr int kPlayerSidePanelHandle = 6;
constexpr int kLocalFilesTab = 7;
constexpr int kPlayerTab = 9;
constexpr int kTvTab = 13;
constexpr int kTvSidePanelHandle = 15;

constexpr int kPanelEnabled = 2;  // AdHuanState / BoPadState
constexpr int kPlayingState = 3;
constexpr int kTitleWidth = 30;

// Either the still cover with its pictures, or the video.
void ShowVideo(WindowModel& model, bool video) {
  model[R::bo_ad].visible = !video;
  model[R::Qvodx].visible = video;
}

}  // namespace

ControlBar::ControlBar(PlaybackContext& context, FileDialog& files, StepEpisodeFn step_episode)
    : context_(context),
      window_(context.window),
      now_(context.now),
      files_(files),
      step_episode_(std::move(step_episode)) {}

void ControlBar::Click(int index) {
  WindowModel& model = window_.model;
  model[R::P1].visible = false;
  if (model.SuppressClick == 1) {
    model.SuppressClick = 0;
    return;
  }
  switch (index) {
    case 0:
      PlayOrPause();
      break;
    case 1:
      Stop();
      break;
    case 2:
      ToggleMute();
      break;
    case 3:
      EnterFullScreen();
      break;
    case 4:
      OpenLocalFile();
      break;
    case 5:
      StepEpisode(5, 1);
      break;
    case 6:
      ToggleSidePanel();
      break;
    case 7:
      StepEpisode(7, 2);
      break;
    default:
      break;
  }
}

void ControlBar::MouseDown(int /*index*/, MouseButton button) {
  window_.model.SuppressClick = button == MouseButton::kLeft ? 0 : 1;
}

void ControlBar::PlayOrPause() {
  WindowModel& model = window_.model;
  if (model.ContentMode != kPlayer) return;
  PlayerControl& player = window_.ports.player;
  context_.timers.Timer1.SetEnabled(true);
  RegionState& button = model[BoBut(0)];
  if (button.tooltip == kPauseTip) {
    if (model.AdHuanState == kPanelEnabled) {
      model[R::ad_huan].visible = true;
      model[R::bo_pad].visible = false;
    }
    ShowVideo(model, false);
    player.Pause();
    SetStatus(kPausedStatus);
    button.tooltip = kPlayTip;
    PaintFace(0);
    return;
  }
  now_.ResumeDone = 0;
  player.Play();
  button.tooltip = kPauseTip;
  PaintFace(0);
  if (model.CurrentMainTab != kPlayerTab) NpcClick(window_, kPlayerTab);
  ShowVideo(model, true);
}

void ControlBar::Stop() {
  WindowModel& model = window_.model;
  if (model.ContentMode != kPlayer) return;
  if (model.BoPadState == kPanelEnabled) model[R::bo_pad].visible = true;
  model[R::ad_huan].visible = false;
  ShowVideo(model, false);
  StoreLastPosition();

  context_.timers.Timer1.SetEnabled(false);
  now_.LastPosition = 0;
  now_.ResumePosition = 0;
  ClearPlayStrip(window_);

  window_.ports.player.Stop();
  model[BoBut(0)].tooltip = kPlayTip;
  PaintFace(0);
  SetStatus(kStoppedStatus);
  PaintFace(1);
}

// The item being left resumes here next time.
void ControlBar::StoreLastPosition() {
  if (now_.ListKey == "0" || now_.LastPosition <= 0) return;
  if (now_.ItemKind == 1) {
    context_.lists.UpdateNetworkTaskPosition(ToInteger(now_.ListKey), now_.LastPosition);
  } else if (now_.ItemKind == 2) {
    context_.lists.UpdateLocalFilePosition(now_.ListKey, now_.LastPosition);
  }
}

void ControlBar::ToggleMute() {
  RegionState& button = window_.model[BoBut(2)];
  const bool mute = button.tooltip == kMuteTip;
  const std::string_view text = mute ? kUnmuteTip : kMuteTip;
  button.tooltip = text;
  window_.menu.q_yin = text;
  window_.ports.player.SetMuted(mute);
  PaintFace(2);
}

void ControlBar::EnterFullScreen() {
  if (window_.ports.player.State() != kPlayingState) return;
  // A topmost window would stay above the full-screen picture.
  if (window_.model[Npc(kTopmostButton)].tooltip == kLeaveTopmostTip) NpcClick(window_, kTopmostButton);
  NpcClick(window_, kPlayerTab);
  window_.ports.player.SetFullScreen(true);
  PaintFace(3);
}

void ControlBar::OpenLocalFile() {
  WindowModel& model = window_.model;
  PaintFace(4);
  model[R::P1].visible = false;
  const std::optional<std::string> chosen =
      files_.ChooseMediaFile(std::string(kOpenFileTitle), std::string(kOpenFileFilter));
  if (!chosen || !MayReachPlayer(*chosen)) return;  // cancelled: nothing changes
  const std::string& path = *chosen;

  SetContentMode(window_, kPlayer);
  PlayerControl& player = window_.ports.player;
  player.SetUrl(path);
  player.Play();
  context_.timers.Timer1.SetEnabled(true);

  const std::string name = FileNameOf(path);
  RegionState& title = model[R::bo_name];
  title.caption = TruncateByWidth(name, kTitleWidth);
  FitAutoSizeLabel(model, R::bo_name, window_.ports.text);
  title.rect.left = (model[R::bo_zt].rect.width - title.rect.width) / 2;

  context_.lists.AddLocalFile(name, path, 0);
  // Else a series played before would go on preparing its next episode and
  // play it when this file ends.
  StartLocalItem(now_, path);
  NpcClick(window_, kLocalFilesTab);
  NpcClick(window_, kPlayerTab);
}

// The button stays disabled while the episode is looked up, so a second
// click cannot start a second lookup.
void ControlBar::StepEpisode(int index, int direction) {
  RegionState& button = window_.model[BoBut(index)];
  button.enabled = false;
  if (step_episode_) step_episode_(direction);
  button.enabled = true;
  PaintFace(index);
}

void ControlBar::ToggleSidePanel() {
  const int tab = window_.model.CurrentMainTab;
  if (tab == kPlayerTab) {
    NpcClick(window_, kPlayerSidePanelHandle);
  } else if (tab == kTvTab) {
    NpcClick(window_, kTvSidePanelHandle);
  }
}

void ControlBar::SetStatus(std::string_view text) {
  window_.model[R::zhun].caption = text;
  FitAutoSizeLabel(window_.model, R::zhun, window_.ports.text);
}

void ControlBar::PaintFace(int index) {
  window_.model[BoBut(index)].face = ControlButtonFace(window_.model, index, false);
}

}  // namespace taviro
