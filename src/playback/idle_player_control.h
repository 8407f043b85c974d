#pragma once

#include <string>

#include "ports/player_control.h"

namespace taviro {

// A player that remembers what it is told and plays nothing: it keeps the
// window's rules working where the player library cannot start.
class IdlePlayerControl final : public PlayerControl {
 public:
  std::string Url() override { return url_; }
  void SetUrl(const std::string& url) override { url_ = url; }
  bool Muted() override { return muted_; }
  void SetMuted(bool muted) override { muted_ = muted; }
  void SetFullScreen(bool /*on*/) override {}
  int Volume() override { return volume_; }
  void SetVolume(int percent) override { volume_ = percent; }
  int Duration() override { return 0; }
  int TransferRate() override { return 0; }
  int Position() override { return 0; }
  void SetPosition(int /*seconds*/) override {}
  void Play() override {}
  void Pause() override {}
  void Stop() override {}
  PlayerState State() override { return PlayerState::kIdle; }
  void SetPictureFit(PictureFit /*fit*/) override {}
  int SecondRate() override { return 0; }
  void SetSoundChannel(SoundChannel /*channel*/) override {}
  int DownloadProgress() override { return 0; }
  void Prebuffer(const std::string& /*url*/) override {}
  void SetAdvertUrl(const std::string& /*url*/) override {}

 private:
  std::string url_;
  bool muted_ = false;
  int volume_ = 50;
};

}  // namespace taviro
