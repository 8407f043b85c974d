#pragma once

#include <string>
#include <vector>

#include "ports/player_extras.h"

namespace taviro {

// The extras of a player that plays nothing: no tracks, no frames.
class IdlePlayerExtras final : public PlayerExtras {
 public:
  std::vector<MediaTrack> Tracks() override { return {}; }
  void SelectTrack(TrackKind /*kind*/, int /*id*/) override {}
  void AddSubtitleFile(const std::string& /*path*/, const std::string& /*title*/, bool /*select*/) override {}
  double SubtitleDelay() override { return delay_; }
  void SetSubtitleDelay(double seconds) override { delay_ = seconds; }
  double Speed() override { return speed_; }
  void SetSpeed(double rate) override { speed_ = rate; }
  std::string SubtitleText() override { return {}; }
  void SaveFrame(int /*fd*/, std::function<void(bool)> done) override {
    if (done) done(false);
  }
  void SetChangeHandler(std::function<void(PlayerChange)> /*handler*/) override {}

 private:
  double delay_ = 0;
  double speed_ = 1;
};

}  // namespace taviro
