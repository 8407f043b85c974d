#pragma once

#include <cstdio>
#include <string>

#include "ports/player_control.h"

namespace taviro {

// Passes every request on to the player and, for developers and tests,
// reports on stderr what the window asked of it. Reads stay silent: the
// poller makes them every second.
class ReportingPlayerControl final : public PlayerControl {
 public:
  ReportingPlayerControl(PlayerControl& player, bool report) : player_(player), report_(report) {}

  std::string Url() override { return player_.Url(); }
  void SetUrl(const std::string& url) override {
    Report("url", url);
    player_.SetUrl(url);
  }
  bool Muted() override { return player_.Muted(); }
  void SetMuted(bool muted) override {
    Report("mute", muted ? "1" : "0");
    player_.SetMuted(muted);
  }
  void SetFullScreen(bool on) override { player_.SetFullScreen(on); }
  int Volume() override { return player_.Volume(); }
  void SetVolume(int percent) override {
    Report("volume", std::to_string(percent));
    player_.SetVolume(percent);
  }
  int Duration() override { return player_.Duration(); }
  bool Live() override { return player_.Live(); }
  std::string StreamTitle() override { return player_.StreamTitle(); }
  bool Untrusted() override { return player_.Untrusted(); }
  int TransferRate() override { return player_.TransferRate(); }
  int Position() override { return player_.Position(); }
  void SetPosition(int seconds) override {
    Report("seek", std::to_string(seconds));
    player_.SetPosition(seconds);
  }
  void Play() override {
    Report("play", player_.Url());
    player_.Play();
  }
  void Pause() override {
    Report("pause", player_.Url());
    player_.Pause();
  }
  void Stop() override {
    Report("stop", player_.Url());
    player_.Stop();
  }
  PlayerState State() override { return player_.State(); }
  void SetPictureFit(PictureFit fit) override {
    Report("fit", std::to_string(static_cast<int>(fit)));
    player_.SetPictureFit(fit);
  }
  int SecondRate() override { return player_.SecondRate(); }
  void SetSoundChannel(SoundChannel channel) override {
    Report("channel", std::to_string(static_cast<int>(channel)));
    player_.SetSoundChannel(channel);
  }
  // Reported when it changes, so a test can follow the download.
  int DownloadProgress() override {
    const int progress = player_.DownloadProgress();
    if (progress != reported_progress_) {
      reported_progress_ = progress;
      Report("progress", std::to_string(progress));
    }
    return progress;
  }
  void Prebuffer(const std::string& url) override {
    Report("prebuffer", url);
    player_.Prebuffer(url);
  }
  void SetAdvertUrl(const std::string& url) override { player_.SetAdvertUrl(url); }
  void NameItem(const std::string& url, const std::string& title) override { player_.NameItem(url, title); }

 private:
  void Report(const char* what, const std::string& detail) const {
    if (report_) {
      std::fprintf(stderr, "taviro: player %s %s\n", what, detail.c_str());
    }
  }

  PlayerControl& player_;
  bool report_;
  int reported_progress_ = 0;
};

}  // namespace taviro
