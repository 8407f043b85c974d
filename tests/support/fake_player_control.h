#pragma once

#include <string>
#include <vector>

#include "ports/player_control.h"
#include "support/call_log.h"

namespace taviro::testing {

// A player whose readings a test sets and whose commands it records. It does
// not play: Play, Pause and Stop only change `state` (3 playing, 2 paused,
// 0 stopped).
class FakePlayerControl : public PlayerControl {
 public:
  explicit FakePlayerControl(CallLog* log = nullptr) : log_(log) {}

  std::string Url() override { return url; }
  void SetUrl(const std::string& new_url) override {
    url = new_url;
    AddTo(log_, "player.SetUrl(" + new_url + ")");
  }
  bool Muted() override { return muted; }
  void SetMuted(bool on) override {
    muted = on;
    AddTo(log_, on ? "player.SetMuted(true)" : "player.SetMuted(false)");
  }
  void SetFullScreen(bool on) override {
    full_screen = on;
    AddTo(log_, on ? "player.SetFullScreen(true)" : "player.SetFullScreen(false)");
  }
  int Volume() override { return volume; }
  void SetVolume(int percent) override {
    volume = percent;
    AddTo(log_, "player.SetVolume(" + std::to_string(percent) + ")");
  }
  int Duration() override { return duration; }
  int TransferRate() override { return transfer_rate; }
  int Position() override { return position; }
  void SetPosition(int seconds) override {
    position = seconds;
    AddTo(log_, "player.SetPosition(" + std::to_string(seconds) + ")");
  }
  void Play() override {
    state = PlayerState::kPlaying;
    AddTo(log_, "player.Play");
  }
  void Pause() override {
    state = PlayerState::kPaused;
    AddTo(log_, "player.Pause");
  }
  void Stop() override {
    state = PlayerState::kIdle;
    AddTo(log_, "player.Stop");
  }
  PlayerState State() override { return state; }
  void SetPictureFit(PictureFit fit) override {
    picture_fit = fit;
    AddTo(log_, "player.SetPictureFit(" + std::to_string(static_cast<int>(fit)) + ")");
  }
  int SecondRate() override { return second_rate; }
  void SetSoundChannel(SoundChannel channel) override {
    sound_channel = channel;
    AddTo(log_, "player.SetSoundChannel(" + std::to_string(static_cast<int>(channel)) + ")");
  }
  int DownloadProgress() override { return download_progress; }
  bool Live() override { return live; }
  bool Untrusted() override { return untrusted; }
  std::string StreamTitle() override { return stream_title; }
  void Prebuffer(const std::string& next_url) override {
    prebuffered.push_back(next_url);
    AddTo(log_, "player.Prebuffer(" + next_url + ")");
  }
  void SetAdvertUrl(const std::string& advert) override {
    advert_url = advert;
    AddTo(log_, "player.SetAdvertUrl(" + advert + ")");
  }

  std::string url;
  bool muted = false;
  bool full_screen = false;
  int volume = 50;
  int duration = 0;
  int transfer_rate = 0;
  int position = 0;
  PlayerState state = PlayerState::kIdle;
  PictureFit picture_fit = PictureFit::kStretch;
  int second_rate = 0;
  SoundChannel sound_channel = SoundChannel::kMixed;
  int download_progress = 0;
  bool live = false;
  bool untrusted = false;
  std::string stream_title;
  std::vector<std::string> prebuffered;
  std::string advert_url;

 private:
  CallLog* log_;
};

}  // namespace taviro::testing
