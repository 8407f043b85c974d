#include "playback/player_keys.h"

#include <string>

#include "playback/media_choices.h"
#include "playback/playback_context.h"
#include "playback/seek_bar.h"
#include "playback/volume_bar.h"
#include "ports/player_control.h"
#include "ports/window_host.h"
#include "util/format_seconds.h"
#include "window/bo_but_buttons.h"
#include "window/content_mode.h"
#include "window/main_window.h"

namespace taviro {
namespace {

constexpr int kSeekStepSeconds = 10;
constexpr int kVolumeStep = 10;
constexpr int kEndLeadSeconds = 2;

void ShowTimes(MainWindow& window, int position, int duration) {
  window.model[RegionId::times].caption =
      FormatSeconds(position) + std::string(kTimeSeparator) + FormatSeconds(duration);
}

void SeekBack(MainWindow& window) {
  PlayerControl& player = window.ports.player;
  const int position = player.Position();
  if (position <= 0) return;
  player.SetPosition(position - kSeekStepSeconds);
  if (player.Position() < 0) player.SetPosition(0);
  const int now = player.Position();
  const int duration = player.Duration();
  PlaceSeekThumb(window.model, SeekThumbLeftFor(window.model, now, duration));
  ShowTimes(window, now, duration);
}

void SeekOn(MainWindow& window) {
  PlayerControl& player = window.ports.player;
  const int position = player.Position();
  if (position <= 0) return;
  player.SetPosition(position + kSeekStepSeconds);
  window.ports.host.ProcessPendingEvents();
  int duration = player.Duration();
  if (duration < player.Position()) player.SetPosition(duration - kEndLeadSeconds);
  const int now = player.Position();
  duration = player.Duration();
  // The player may still report where it was before the seek; the thumb
  // goes where the seek is heading.
  PlaceSeekThumb(window.model, SeekThumbLeftFor(window.model, now + kSeekStepSeconds, duration));
  ShowTimes(window, now, duration);
}

void ChangeVolume(MainWindow& window, int step) {
  UnmuteFirst(window);
  PlayerControl& player = window.ports.player;
  player.SetVolume(player.Volume() + step);
  ShowVolumeStatus(window);
  PlaceVolumeKnob(window.model, VolumeTravel(window.model) * player.Volume() / 100);
}

void ChoiceKey(MediaChoices& choices, KeyCode key) {
  switch (key) {
    case KeyCode::kS: choices.SaveFrame(); break;
    case KeyCode::kZ: choices.ShiftSubtitleDelay(-1); break;
    case KeyCode::kX: choices.ShiftSubtitleDelay(1); break;
    case KeyCode::kBracketLeft: choices.StepSpeed(-1); break;
    case KeyCode::kBracketRight: choices.StepSpeed(1); break;
    default: break;
  }
}

}  // namespace

void PlayerKeyDown(PlaybackContext& context, KeyCode key) {
  MainWindow& window = context.window;
  if (window.model.ContentMode != ContentMode::kPlayer) return;
  window.ports.host.ProcessPendingEvents();
  Timer& poller = context.timers.Timer1;
  switch (key) {
    case KeyCode::kSpace: window.ClickControlBar(bo_but::kPlayPause); break;
    case KeyCode::kLeft:
      poller.SetEnabled(false);
      SeekBack(window);
      break;
    case KeyCode::kRight:
      poller.SetEnabled(false);
      SeekOn(window);
      break;
    case KeyCode::kUp: ChangeVolume(window, kVolumeStep); break;
    case KeyCode::kDown: ChangeVolume(window, -kVolumeStep); break;
    case KeyCode::kS:
    case KeyCode::kX:
    case KeyCode::kZ:
    case KeyCode::kBracketLeft:
    case KeyCode::kBracketRight:
      if (context.choices != nullptr) ChoiceKey(*context.choices, key);
      break;
    case KeyCode::kOther: break;
  }
  poller.SetEnabled(true);
}

}  // namespace taviro
