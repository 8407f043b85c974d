#pragma once

#include <mpv/client.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "linux/mpv/mpv_core.h"
#include "ports/player_extras.h"

namespace taviro::mpv {

// Tracks, speed, subtitle delay and frame capture on libmpv. The player
// hands it the events of its core that concern it.
class MpvExtras final : public PlayerExtras {
 public:
  explicit MpvExtras(MpvCore& core);

  std::vector<MediaTrack> Tracks() override { return tracks_; }
  void SelectTrack(TrackKind kind, int id) override;
  void AddSubtitleFile(const std::string& path, const std::string& title, bool select) override;
  double SubtitleDelay() override { return sub_delay_; }
  void SetSubtitleDelay(double seconds) override;
  double Speed() override { return speed_; }
  void SetSpeed(double rate) override;
  std::string SubtitleText() override { return sub_text_; }
  void SaveFrame(int fd, std::function<void(bool written)> done) override;
  void SetChangeHandler(std::function<void(PlayerChange)> handler) override { changed_ = std::move(handler); }

  // A property this object observes.
  void OnProperty(const mpv_event_property& property);
  // Whether the reply answered a request of this object.
  bool OnReply(const mpv_event& event);
  void OnOpened() { pending_.push_back(PlayerChange::kOpened); }
  // Tells what changed, once the core's queue has been read.
  void OnDrained();

 private:
  MpvCore& core_;
  std::function<void(PlayerChange)> changed_;
  std::vector<PlayerChange> pending_;
  std::vector<MediaTrack> tracks_;
  double speed_ = 1;
  double sub_delay_ = 0;
  std::string sub_text_;
  std::map<std::uint64_t, std::function<void(bool)>> frames_;
  std::uint64_t last_reply_;
};

}  // namespace taviro::mpv
