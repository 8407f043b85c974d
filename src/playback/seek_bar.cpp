#include "playback/seek_bar.h"

#include <algorithm>
#include <cstdint>

#include "playback/bar_arithmetic.h"
#include "ports/player_control.h"
#include "window/main_window.h"

namespace taviro {
namespace {

using R = RegionId;

// The part labels report twips.
constexpr int kLabelUnitsPerPixel = kTwipsPerPixel;
// Seeking back a little from where the thumb was let go.
constexpr int kSeekLeadSeconds = 2;

// A live item has no span to point into.
bool ItemLoaded(MainWindow& window) {
  return !window.ports.player.Url().empty() && !window.ports.player.Live();
}

}  // namespace

int SeekTravel(const WindowModel& model) { return model[R::gunt].rect.width - model[R::gunt1].rect.width; }

void PlaceSeekThumb(WindowModel& model, int left) {
  model[R::gunt1].rect.left = left;
  model[R::gunt2].rect.width = left;
}

int SeekThumbLeftFor(const WindowModel& model, int position, int duration) {
  if (duration == 0) return 0;
  const std::int64_t scaled = std::int64_t{position} * SeekTravel(model);
  if (duration < 0) return static_cast<int>(RoundedRatio(-scaled, -std::int64_t{duration}));
  return static_cast<int>(RoundedRatio(scaled, duration));
}

void SeekBarPressed(MainWindow& window, RegionId part, MouseButton button, int x) {
  if (button != MouseButton::kLeft) return;
  if (part == R::gunt) {
    if (ItemLoaded(window)) PlaceSeekThumb(window.model, x);
  } else if (part == R::gunt2 || part == R::huan) {
    PlaceSeekThumb(window.model, x / kLabelUnitsPerPixel);
  }
}

void SeekThumbDragged(MainWindow& window, int x, bool left_down) {
  if (!left_down || !ItemLoaded(window)) return;
  WindowModel& model = window.model;
  const int left = model[R::gunt1].rect.left + x;
  PlaceSeekThumb(model, std::clamp(left, 0, std::max(0, SeekTravel(model))));
}

void SeekBarReleased(MainWindow& window, RegionId part) {
  if (window.ports.player.Live()) return;
  bool lead = false;
  if (part == R::gunt) {
    if (!ItemLoaded(window)) return;
  } else if (part == R::gunt1) {
    // Near the start the exact spot is kept.
    lead = window.model[R::gunt1].rect.left > kSeekLeadSeconds;
  } else if (part == R::gunt2 || part == R::huan) {
    lead = true;
  } else {
    return;
  }
  const int travel = SeekTravel(window.model);
  if (travel <= 0) return;  // a bar too short to point at anything
  PlayerControl& player = window.ports.player;
  const int duration = player.Duration();
  const std::int64_t target = RoundedRatio(std::int64_t{window.model[R::gunt1].rect.left} * duration, travel);
  player.SetPosition(static_cast<int>(target - (lead ? kSeekLeadSeconds : 0)));
  if (duration < player.Position()) player.SetPosition(duration - kSeekLeadSeconds);
}

void SeekBarSetTo(MainWindow& window, int seconds) {
  PlayerControl& player = window.ports.player;
  if (player.Live() || !ItemLoaded(window)) return;
  const int duration = player.Duration();
  if (duration <= 0) return;
  const int target = std::clamp(seconds, 0, duration);
  player.SetPosition(target);
  PlaceSeekThumb(window.model, SeekThumbLeftFor(window.model, target, duration));
}

}  // namespace taviro
