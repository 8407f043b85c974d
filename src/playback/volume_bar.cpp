#include "playback/volume_bar.h"

#include <algorithm>
#include <string>

#include "ports/player_control.h"
#include "window/bo_but_buttons.h"
#include "window/main_window.h"
#include "window/window_design.h"

namespace taviro {
namespace {

using R = RegionId;

constexpr int kLabelUnitsPerPixel = kTwipsPerPixel;

// The volume in whole percent for the knob at `left`, then the player's own
// reading of it on the status line.
void ApplyKnob(MainWindow& window, int left) {
  const int travel = VolumeTravel(window.model);
  if (travel <= 0) return;  // a bar too short to point at anything
  PlaceVolumeKnob(window.model, left);
  window.ports.player.SetVolume(left * 100 / travel);
  ShowVolumeStatus(window);
}

}  // namespace

int VolumeTravel(const WindowModel& model) { return model[R::yin].rect.width - model[R::bo_v].rect.width; }

void PlaceVolumeKnob(WindowModel& model, int left) {
  model[R::bo_v].rect.left = left;
  model[R::bo_y].rect.width = left;
}

void UnmuteFirst(MainWindow& window) {
  if (window.ports.player.Muted()) window.ClickControlBar(bo_but::kMute);
}

void ShowVolumeStatus(MainWindow& window) {
  RegionState& status = window.model[R::zhun];
  status.caption = std::string(kVolumeStatusPrefix) + std::to_string(window.ports.player.Volume()) + "%";
  FitAutoSizeLabel(window.model, R::zhun, window.ports.text);
}

void VolumeBarPressed(MainWindow& window, RegionId part, MouseButton button, int x) {
  if (button != MouseButton::kLeft) return;
  if (part != R::yin && part != R::bo_y) return;
  UnmuteFirst(window);
  const int at = part == R::yin ? x : x / kLabelUnitsPerPixel;
  ApplyKnob(window, std::min(at, VolumeTravel(window.model)));
}

void StepVolume(MainWindow& window, int step) { SetVolumeTo(window, window.ports.player.Volume() + step); }

void SetVolumeTo(MainWindow& window, int percent) {
  UnmuteFirst(window);
  PlayerControl& player = window.ports.player;
  player.SetVolume(std::clamp(percent, 0, 100));
  ShowVolumeStatus(window);
  PlaceVolumeKnob(window.model, VolumeTravel(window.model) * player.Volume() / 100);
}

void VolumeKnobDragged(MainWindow& window, int x, bool left_down) {
  if (!left_down) return;
  UnmuteFirst(window);
  const int left = window.model[R::bo_v].rect.left + x;
  ApplyKnob(window, std::clamp(left, 0, std::max(0, VolumeTravel(window.model))));
}

}  // namespace taviro
