#include "playback/control_bar.h"

#include <optional>
#include <string>
#include <utility>

#include "lists/media_lists.h"
#include "playback/media_address.h"
#include "ports/file_dialog.h"
#include "ports/player_control.h"
#include "util/path_names.h"
#include "util/text_number.h"
#include "util/truncate_by_width.h"
#include "window/bo_but_buttons.h"
#include "window/chrome_faces.h"
#include "window/chrome_state.h"
#include "window/content_mode.h"
#include "window/npc_buttons.h"
#include "window/title_bar_commands.h"
#include "window/window_design.h"

namespace taviro {
namespace {

using R = RegionId;

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
  switch (index) {
    case bo_but::kPlayPause: PlayOrPause(); break;
    case bo_but::kStop: Stop(); break;
    case bo_but::kMute: ToggleMute(); break;
    case bo_but::kFullScreen: EnterFullScreen(); break;
    case bo_but::kOpenFile: OpenLocalFile(); break;
    case bo_but::kPrevious: StepEpisode(bo_but::kPrevious, 1); break;
    case bo_but::kSidePanel: ToggleSidePanel(); break;
    case bo_but::kNext: StepEpisode(bo_but::kNext, 2); break;
    default: break;
  }
}

void ControlBar::MouseDown(int /*index*/, MouseButton button) {
  window_.model.ignore_next_click = button == MouseButton::kLeft ? 0 : 1;
}

void ControlBar::PlayOrPause() {
  WindowModel& model = window_.model;
  if (model.ContentMode != ContentMode::kPlayer) return;
  PlayerControl& player = window_.ports.player;
  context_.timers.Timer1.SetEnabled(true);
  if (model.playing) {
    if (model.pause_panel == AdPanel::kEnabled) {
      model[R::ad_huan].visible = true;
      model[R::bo_pad].visible = false;
    }
    ShowVideo(model, false);
    player.Pause();
    SetStatus(kPausedStatus);
    SetPlayingShown(model, false);
    return;
  }
  now_.resume_done = false;
  player.Play();
  SetPlayingShown(model, true);
  if (model.main_tab != MainTab::kPlayer) ShowMainTab(window_, MainTab::kPlayer);
  ShowVideo(model, true);
}

void ControlBar::Stop() {
  WindowModel& model = window_.model;
  if (model.ContentMode != ContentMode::kPlayer) return;
  if (model.banner_panel == AdPanel::kEnabled) model[R::bo_pad].visible = true;
  model[R::ad_huan].visible = false;
  ShowVideo(model, false);
  StoreLastPosition();

  context_.timers.Timer1.SetEnabled(false);
  now_.LastPosition = 0;
  now_.ResumePosition = 0;
  ClearPlayStrip(window_);

  window_.ports.player.Stop();
  SetPlayingShown(model, false);
  SetStatus(kStoppedStatus);
  PaintFace(1);
}

// The item being left resumes here next time.
void ControlBar::StoreLastPosition() {
  if (now_.ListKey == "0" || now_.LastPosition <= 0) return;
  if (now_.item_kind == ItemKind::kCatalogue) {
    context_.lists.UpdateNetworkTaskPosition(ToInteger(now_.ListKey), now_.LastPosition);
  } else if (now_.item_kind == ItemKind::kLocalFile) {
    context_.lists.UpdateLocalFilePosition(now_.ListKey, now_.LastPosition);
  }
}

void ControlBar::ToggleMute() {
  const bool mute = !window_.model.muted;
  SetMutedShown(window_.model, mute);
  window_.menu.q_yin = MuteCaption(mute);
  window_.ports.player.SetMuted(mute);
}

void ControlBar::EnterFullScreen() {
  if (window_.ports.player.State() != PlayerState::kPlaying) return;
  // A topmost window would stay above the full-screen picture.
  if (window_.model.topmost) ToggleTopmost(window_);
  ShowMainTab(window_, MainTab::kPlayer);
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

  SetContentMode(window_, ContentMode::kPlayer);
  PlayerControl& player = window_.ports.player;
  player.SetUrl(path);
  player.Play();
  context_.timers.Timer1.SetEnabled(true);

  const std::string name = ShownNameOf(path);
  RegionState& title = model[R::bo_name];
  title.caption = TruncateByWidth(name, kTitleWidth);
  FitAutoSizeLabel(model, R::bo_name, window_.ports.text);
  title.rect.left = (model[R::bo_zt].rect.width - title.rect.width) / 2;

  context_.lists.AddLocalFile(name, path, 0);
  // Else a series played before would go on preparing its next episode and
  // play it when this file ends.
  StartLocalItem(now_, path);
  ShowSideTab(window_, SideTab::kLocalFiles);
  ShowMainTab(window_, MainTab::kPlayer);
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
  const MainTab tab = window_.model.main_tab;
  if (tab == MainTab::kPlayer) {
    taviro::ToggleSidePanel(window_, SidePanel::kPlayer);
  } else if (tab == MainTab::kTv) {
    taviro::ToggleSidePanel(window_, SidePanel::kTvChannels);
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
