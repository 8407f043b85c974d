#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "linux/mpv/mpv_core.h"
#include "linux/mpv/mpv_extras.h"
#include "linux/mpv/prebuffer_session.h"
#include "linux/mpv/video_surface.h"
#include "playback/download_helper_client.h"
#include "playback/playback_readings.h"
#include "ports/player_control.h"
#include "ports/player_details.h"

namespace taviro::mpv {

struct MpvPlayerOptions {
  RenderPath render_path = RenderPath::kAuto;
  // Off sends the sound nowhere (for tests on machines without audio).
  bool audio = true;
  // Receives the player's log lines at `log_level` and more severe ones.
  LogSink log;
  const char* log_level = "no";
  // Network items go through the download helper when one is given.
  DownloadHelperClient* helper = nullptr;
};

// The embedded player on libmpv, addressed by the control's dispatch
// operations. Everything runs on the GLib main thread; opening a file never
// blocks it.
class MpvPlayer final : public PlayerControl, public PlayerDetails {
 public:
  // Nothing when libmpv cannot start a player.
  static std::unique_ptr<MpvPlayer> Create(MpvPlayerOptions options = {});
  MpvPlayer(const MpvPlayer&) = delete;
  MpvPlayer& operator=(const MpvPlayer&) = delete;
  ~MpvPlayer() override;

  // The video area, to be placed where the control sits in the window.
  GtkWidget* VideoWidget() const { return surface_->widget(); }
  // Called from the main loop when the state code (`State`) has changed on
  // the player's own account, never from inside a call on the player.
  void SetStateChangedHandler(std::function<void()> handler) { state_changed_ = std::move(handler); }

  std::string Url() override { return url_; }
  void SetUrl(const std::string& url) override { url_ = url; }
  bool Muted() override { return core_->readings().mute; }
  void SetMuted(bool muted) override;
  void SetFullScreen(bool on) override { surface_->SetFullScreen(on); }
  int Volume() override;
  void SetVolume(int percent) override;
  int Duration() override { return Open() ? DurationSeconds(core_->readings()) : 0; }
  // Local files are read, not transferred.
  int TransferRate() override;
  bool Live() override;
  std::string StreamTitle() override;
  bool Untrusted() override;
  int Position() override { return Open() ? PositionSeconds(core_->readings()) : 0; }
  void SetPosition(int seconds) override;
  void Play() override;
  void Pause() override;
  void Stop() override;
  PlayerState State() override { return StateCode(core_->readings(), phase_, Network()); }
  void SetPictureFit(taviro::PictureFit fit) override;
  int SecondRate() override { return StreamRateKbit(core_->readings()); }
  void SetSoundChannel(SoundChannel channel) override;
  int DownloadProgress() override;
  void Prebuffer(const std::string& url) override;
  void NameItem(const std::string& url, const std::string& title) override;
  // The player shows no advertisement page of its own.
  void SetAdvertUrl(const std::string& /*url*/) override {}

  std::int64_t PositionUs() override { return Open() ? Microseconds(core_->readings().time_pos) : 0; }
  std::int64_t DurationUs() override { return Open() ? Microseconds(core_->readings().duration) : 0; }
  TrackTags Tags() override;

  const std::string* prebuffer_url() const { return prebuffer_ ? &prebuffer_->url() : nullptr; }
  const VideoSurface& surface() const { return *surface_; }
  // Tracks, speed, subtitle delay and frame capture of the same player.
  PlayerExtras& extras() { return *extras_; }
  // A player property as text, read now ("" when unavailable).
  std::string PropertyText(const char* name) const { return core_->GetString(name); }

 private:
  explicit MpvPlayer(MpvPlayerOptions options);
  bool Start();
  bool Network() const { return IsNetworkAddress(loaded_url_); }
  // Whether an item is open, so that its times are its own and not those of
  // the item before it.
  bool Open() const { return phase_ == LoadPhase::kLoaded || phase_ == LoadPhase::kEnded; }
  void Load();
  // Opens what the helper says to play for the loaded address, or waits
  // for a starting helper.
  void OpenStream();
  void CancelStreamWork();
  // A helper that went away mid-play is started again and the item resumes
  // where it was.
  void WatchHelper();
  std::optional<HelperStatus> HelperReport();
  // A source that went silent for longer than the player waits mostly comes
  // back: an item the helper served is opened again (the helper looks at
  // its source afresh) until it plays or a while has passed. False when it
  // is not worth it.
  bool RetryAfterFailure();
  void SetPause(bool pause);
  void OnEvent(const mpv_event& event);
  void OnReply(const mpv_event& event);
  void OnEndFile(const mpv_event_end_file& end);
  void OnDrained();
  void Opened();
  bool Ours(std::int64_t entry) const;
  void LetGoOfVideo();
  void TakeVideoBack();

  MpvPlayerOptions options_;
  std::unique_ptr<MpvCore> core_;
  std::unique_ptr<MpvExtras> extras_;
  std::unique_ptr<VideoSurface> surface_;
  std::unique_ptr<PrebufferSession> prebuffer_;
  std::function<void()> state_changed_;
  PlayerState reported_state_ = PlayerState::kIdle;

  std::string url_;
  std::string loaded_url_;
  LoadPhase phase_ = LoadPhase::kNothing;
  std::uint64_t load_request_ = 0;
  std::uint64_t last_request_ = 0;
  // The playlist entry of our last load: unknown until libmpv confirms it.
  std::optional<std::int64_t> entry_;
  std::int64_t started_entry_ = -1;
  std::int64_t opened_entry_ = -1;
  std::optional<int> start_at_;
  bool video_let_go_ = false;

  bool via_helper_ = false;
  std::optional<std::chrono::steady_clock::time_point> waiting_since_;
  guint retry_source_ = 0;
  std::optional<std::chrono::steady_clock::time_point> failing_since_;
  int resume_at_ = 0;
  guint watch_source_ = 0;
};

}  // namespace taviro::mpv
