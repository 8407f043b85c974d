#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/player_control.h"

namespace taviro {

// A player that remembers what it is told and plays nothing: it keeps the
// window's rules working where no real player is attached, and with
// TAVIRO_DEBUG set it reports each request on stderr for tests to read.
class IdlePlayerControl final : public PlayerControl {
 public:
  std::string Url() override { return url_; }
  void SetUrl(const std::string& url) override {
    url_ = url;
    Report("url", url);
  }
  bool Muted() override { return muted_; }
  void SetMuted(bool muted) override { muted_ = muted; }
  void SetFullScreen(bool /*on*/) override {}
  int Volume() override { return volume_; }
  void SetVolume(int percent) override { volume_ = percent; }
  int Duration() override { return 0; }
  int TransferRate() override { return 0; }
  int Position() override { return 0; }
  void SetPosition(int /*seconds*/) override {}
  void Play() override { Report("play", url_); }
  void Pause() override { Report("pause", url_); }
  void Stop() override { Report("stop", url_); }
  int State() override { return 0; }
  void SetPictureFit(int /*fit*/) override {}
  int SecondRate() override { return 0; }
  void SetSoundChannel(int /*channel*/) override {}
  int DownloadProgress() override { return 0; }
  void Prebuffer(const std::string& /*url*/) override {}
  void SetAdvertUrl(const std::string& url) override { advert_url_ = url; }
  const std::string& advert_url() const { return advert_url_; }

 private:
  static void Report(const char* what, const std::string& url) {
    if (std::getenv("TAVIRO_DEBUG") != nullptr) {
      std::fprintf(stderr, "taviro: player %s %s\n", what, url.c_str());
    }
  }

  std::string url_;
  std::string advert_url_;
  bool muted_ = false;
  int volume_ = 50;
};

}  // namespace taviro
