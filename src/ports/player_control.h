#pragma once

#include <string>

#include "ports/player_state.h"

namespace taviro {

// How the picture fills the video area; numbered as the player's control
// numbers them.
enum class PictureFit { kStretch = 0, kScale = 1, kFourThree = 2, kFiveFour = 3, kSixteenNine = 4 };

// Which channels play where (the control has no choice 3).
enum class SoundChannel { kMixed = 0, kLeft = 1, kRight = 2, kLeftOnBoth = 4, kRightOnBoth = 5 };

// The embedded player. Positions and durations are whole seconds.
class PlayerControl {
 public:
  virtual ~PlayerControl() = default;

  virtual std::string Url() = 0;  // "" = nothing loaded
  virtual void SetUrl(const std::string& url) = 0;
  virtual bool Muted() = 0;
  virtual void SetMuted(bool muted) = 0;
  virtual void SetFullScreen(bool on) = 0;
  virtual int Volume() = 0;  // 0..100
  virtual void SetVolume(int percent) = 0;
  virtual int Duration() = 0;
  virtual int TransferRate() = 0;
  virtual int Position() = 0;
  virtual void SetPosition(int seconds) = 0;  // seeks
  virtual void Play() = 0;
  virtual void Pause() = 0;
  virtual void Stop() = 0;
  virtual PlayerState State() = 0;
  virtual void SetPictureFit(PictureFit fit) = 0;
  virtual int SecondRate() = 0;
  virtual void SetSoundChannel(SoundChannel channel) = 0;
  virtual int DownloadProgress() = 0;  // thousandths
  virtual void Prebuffer(const std::string& url) = 0;
  virtual void SetAdvertUrl(const std::string& url) = 0;
  // What the catalogue calls the item at `url` ("title episode"), for a
  // copy saved of it; set before it is played or read ahead.
  virtual void NameItem(const std::string& /*url*/, const std::string& /*title*/) {}
  // The item has no end (a live channel), so it cannot
  // be sought in and never reaches an end.
  virtual bool Live() { return false; }
  // What the stream itself says is on now (a station's song); "" when it
  // says nothing.
  virtual std::string StreamTitle() { return {}; }
  // The item's server showed a certificate the system
  // does not trust, so nothing of it was played.
  virtual bool Untrusted() { return false; }
};

}  // namespace taviro
