#include "linux/mpv/mpv_player.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "linux/mpv/decoder_threads.h"
#include "linux/mpv/heap_return.h"
#include "linux/mpv/picture_and_sound.h"
#include "playback/media_address.h"

namespace taviro::mpv {
namespace {

// What an item from the network, and every playlist in it, may reach: the
// web's protocols only, never a local file.
constexpr const char* kNetworkReach =
    "demuxer-lavf-o=[protocol_whitelist=[http,https,tcp,tls,crypto,httpproxy]]";

OptionList PlayerOptions(bool audio) {
  OptionList options = {
      {"vo", "libmpv"},
      {"idle", "yes"},
      // Stay on the last frame at the end, so the end is a state one can see.
      {"keep-open", "yes"},
      {"config", "no"},
      {"load-scripts", "no"},
      {"ytdl", "no"},
      {"osc", "no"},
      {"terminal", "no"},
      {"input-default-bindings", "no"},
      {"input-vo-keyboard", "no"},
      // Chosen per file by where the frames go.
      {"hwdec", "no"},
      {"audio-client-name", "Taviro"},
      // Without a sound device the clock still runs, so a sound file plays
      // (silently) to its end instead of ending at once.
      {"audio-fallback-to-null", "yes"},
      // Subtitle files beside the video are found and decoded by the
      // program: libmpv's own guess reads GBK as Cyrillic.
      {"sub-auto", "no"},
      {"audio-pitch-correction", "yes"},
      // Frames are handed over at their display time, so drawing them on
      // the main loop never waits for that time.
      {"video-timing-offset", "0"},
      // Software scaling as the GPU output does it by default: bilinear, no
      // dithering. libmpv's own default (lanczos, random dither) costs more
      // CPU than decoding a 1080p picture.
      {"zimg-scaler", "bilinear"},
      {"zimg-dither", "no"},
      // Network media: read well ahead, keep some behind for short seeks
      // back, and start or resume only with a few seconds in hand.
      {"cache", "auto"},
      {"demuxer-max-bytes", "256MiB"},
      {"demuxer-max-back-bytes", "64MiB"},
      {"cache-pause-initial", "yes"},
      {"cache-pause-wait", "2"},
      {"network-timeout", "30"},
  };
  if (!audio) {
    options.emplace_back("ao", "null");
  }
  return options;
}

std::optional<std::int64_t> PlaylistEntryOf(const mpv_event_command& reply) {
  const mpv_node& result = reply.result;
  if (result.format != MPV_FORMAT_NODE_MAP || result.u.list == nullptr) {
    return std::nullopt;
  }
  for (int i = 0; i < result.u.list->num; ++i) {
    const mpv_node& value = result.u.list->values[i];
    if (std::strcmp(result.u.list->keys[i], "playlist_entry_id") == 0 && value.format == MPV_FORMAT_INT64) {
      return value.u.int64;
    }
  }
  return std::nullopt;
}

}  // namespace

std::unique_ptr<MpvPlayer> MpvPlayer::Create(MpvPlayerOptions options) {
  std::unique_ptr<MpvPlayer> player(new MpvPlayer(std::move(options)));
  if (!player->Start()) {
    return nullptr;
  }
  return player;
}

MpvPlayer::MpvPlayer(MpvPlayerOptions options) : options_(std::move(options)) {}

MpvPlayer::~MpvPlayer() {
  CancelStreamWork();
  // The render context must go before the player it renders for.
  prebuffer_.reset();
  surface_.reset();
}

bool MpvPlayer::Start() {
  MpvCore::Hooks hooks;
  hooks.event = [this](const mpv_event& event) { OnEvent(event); };
  hooks.drained = [this] { OnDrained(); };
  hooks.log = options_.log;
  hooks.log_level = options_.log_level;
  hooks.other_property = [this](const mpv_event_property& property) {
    if (extras_ != nullptr) {
      extras_->OnProperty(property);
    }
  };
  core_ = MpvCore::Create(PlayerOptions(options_.audio), std::move(hooks));
  if (core_ == nullptr) {
    return false;
  }
  extras_ = std::make_unique<MpvExtras>(*core_);
  DecoderThreadChoice::AddHook(core_->handle());
  VideoSurface::Hooks surface_hooks;
  surface_hooks.losing_context = [this] { LetGoOfVideo(); };
  surface_hooks.context_ready = [this] { TakeVideoBack(); };
  surface_ = std::make_unique<VideoSurface>(core_->handle(), options_.render_path, std::move(surface_hooks));
  return true;
}

void MpvPlayer::SetMuted(bool muted) {
  core_->SetFlag("mute", muted);
  core_->readings().mute = muted;
}

int MpvPlayer::Volume() {
  return std::clamp(static_cast<int>(std::lround(core_->readings().volume)), 0, 100);
}

void MpvPlayer::SetVolume(int percent) {
  const int volume = std::clamp(percent, 0, 100);
  core_->SetDouble("volume", volume);
  core_->readings().volume = volume;
}

// The lookup by key ignores case, so Vorbis comments ("TITLE") count too.
TrackTags MpvPlayer::Tags() {
  if (!Open()) {
    return {};
  }
  return {core_->GetString("metadata/by-key/title"), core_->GetString("metadata/by-key/artist")};
}

void MpvPlayer::SetPosition(int seconds) {
  const int target = std::max(seconds, 0);
  if (phase_ == LoadPhase::kOpening) {
    start_at_ = target;
    return;
  }
  if (phase_ != LoadPhase::kLoaded) {
    return;
  }
  const std::string text = std::to_string(target);
  core_->Command({"seek", text.c_str(), "absolute"});
  core_->readings().time_pos = target;
}

void MpvPlayer::SetPause(bool pause) {
  core_->SetFlag("pause", pause);
  core_->readings().pause = pause;
}

// Play starts the address that was set, or resumes it when it is the one
// already open; at its end it starts it again from the beginning.
void MpvPlayer::Play() {
  if (url_.empty()) {
    return;
  }
  const bool same = loaded_url_ == url_;
  if (same && phase_ == LoadPhase::kOpening) {
    SetPause(false);
    return;
  }
  if (same && phase_ == LoadPhase::kLoaded) {
    if (core_->readings().eof_reached) {
      core_->Command({"seek", "0", "absolute"});
    }
    SetPause(false);
    return;
  }
  Load();
}

void MpvPlayer::Load() {
  if (prebuffer_ != nullptr && prebuffer_->url() == url_) {
    prebuffer_.reset();
  }
  if (!MayReachPlayer(url_)) {
    // Refused before libmpv sees it; reads as an item that cannot be opened.
    core_->Command({"stop"});
    loaded_url_ = url_;
    phase_ = LoadPhase::kFailed;
    entry_.reset();
    return;
  }
  surface_->EnsureRenderer();
  // Decoding in hardware pays off only when the frames stay on the GPU; the
  // software renderer would have to copy every frame back.
  core_->SetString("hwdec", surface_->on_gpu() ? "auto-safe" : "no");
  SetPause(false);
  if (loaded_url_ != url_) {
    failing_since_.reset();
    resume_at_ = 0;
  }
  loaded_url_ = url_;
  phase_ = LoadPhase::kOpening;
  entry_.reset();
  start_at_.reset();
  // Nothing of the previous item may show through, least of all its end.
  PlaybackReadings& readings = core_->readings();
  readings.time_pos.reset();
  readings.duration.reset();
  readings.eof_reached = false;
  readings.cache_end.reset();
  readings.cache_eof = false;
  readings.file_size.reset();
  readings.video_bitrate = 0;
  readings.audio_bitrate = 0;
  waiting_since_.reset();
  OpenStream();
}

void MpvPlayer::OpenStream() {
  CancelStreamWork();
  StreamChoice choice{StreamChoice::Kind::kDirect, loaded_url_};
  if (options_.helper != nullptr) {
    const auto now = std::chrono::steady_clock::now();
    choice = options_.helper->Open(loaded_url_, waiting_since_, now);
    if (choice.kind == StreamChoice::Kind::kWait && !waiting_since_) {
      waiting_since_ = now;
    }
  }
  switch (choice.kind) {
    case StreamChoice::Kind::kWait:
      retry_source_ = g_timeout_add(
          100,
          [](gpointer self) -> gboolean {
            static_cast<MpvPlayer*>(self)->retry_source_ = 0;
            static_cast<MpvPlayer*>(self)->OpenStream();
            return G_SOURCE_REMOVE;
          },
          this);
      return;
    case StreamChoice::Kind::kNone: phase_ = LoadPhase::kFailed; return;
    case StreamChoice::Kind::kDirect:
    case StreamChoice::Kind::kHelper: break;
  }
  via_helper_ = choice.kind == StreamChoice::Kind::kHelper;
  load_request_ = ++last_request_;
  if (IsNetworkAddress(choice.address)) {
    core_->Command({"loadfile", choice.address.c_str(), "replace", kNetworkReach}, load_request_);
  } else {
    core_->Command({"loadfile", choice.address.c_str(), "replace"}, load_request_);
  }
  if (via_helper_) {
    watch_source_ = g_timeout_add(
        1000,
        [](gpointer self) -> gboolean {
          static_cast<MpvPlayer*>(self)->WatchHelper();
          return G_SOURCE_CONTINUE;
        },
        this);
  }
}

void MpvPlayer::CancelStreamWork() {
  for (guint* source : {&retry_source_, &watch_source_}) {
    if (*source != 0) {
      g_source_remove(*source);
      *source = 0;
    }
  }
  via_helper_ = false;
}

void MpvPlayer::WatchHelper() {
  if (!via_helper_ || HelperReport()) {
    return;
  }
  const bool paused = core_->readings().pause;
  const int position = PositionSeconds(core_->readings());
  Load();
  if (position > 0) {
    start_at_ = position;
  }
  SetPause(paused);
}

bool MpvPlayer::RetryAfterFailure() {
  constexpr std::chrono::seconds kRecoveryWindow{120};
  constexpr guint kRecoveryPauseMs = 2000;
  if (!via_helper_) return false;
  // What the helper found wrong with the source stays wrong.
  const std::optional<HelperStatus> report = HelperReport();
  if (report && report->problem != HelperProblem::kNone && report->problem != HelperProblem::kUnreachable)
    return false;
  const auto now = std::chrono::steady_clock::now();
  if (!failing_since_) failing_since_ = now;
  if (now - *failing_since_ > kRecoveryWindow) {
    failing_since_.reset();
    return false;
  }
  resume_at_ = std::max(resume_at_, PositionSeconds(core_->readings()));
  CancelStreamWork();
  phase_ = LoadPhase::kOpening;
  retry_source_ = g_timeout_add(
      kRecoveryPauseMs,
      [](gpointer data) -> gboolean {
        auto* self = static_cast<MpvPlayer*>(data);
        self->retry_source_ = 0;
        const int position = self->resume_at_;
        self->Load();
        if (position > 0) self->start_at_ = position;
        return G_SOURCE_REMOVE;
      },
      this);
  return true;
}

std::optional<HelperStatus> MpvPlayer::HelperReport() {
  if (!via_helper_ || options_.helper == nullptr) {
    return std::nullopt;
  }
  return options_.helper->Report(loaded_url_, std::chrono::steady_clock::now());
}

int MpvPlayer::TransferRate() {
  if (via_helper_) {
    const std::optional<HelperStatus> report = HelperReport();
    return report ? std::min(report->rate_kb, 32767) : 0;
  }
  return Network() ? TransferRateKb(core_->readings()) : 0;
}

bool MpvPlayer::Live() {
  if (!Open() || !Network()) return false;
  if (const std::optional<HelperStatus> report = HelperReport(); report && report->live) return true;
  // A stream that tells no duration once open has none: it keeps coming.
  return phase_ == LoadPhase::kLoaded && !core_->readings().duration.has_value();
}

std::string MpvPlayer::StreamTitle() {
  if (!Open() || !Network()) return {};
  // A station sends its titles inside the stream (ICY metadata).
  return core_->GetString("metadata/by-key/icy-title");
}

bool MpvPlayer::Untrusted() {
  const std::optional<HelperStatus> report = HelperReport();
  return report && report->problem == HelperProblem::kCertificate;
}

int MpvPlayer::DownloadProgress() {
  if (via_helper_) {
    const std::optional<HelperStatus> report = HelperReport();
    return report ? report->thousandths : 0;
  }
  return DownloadThousandths(core_->readings(), phase_, Network());
}

void MpvPlayer::Pause() {
  if (phase_ == LoadPhase::kOpening || phase_ == LoadPhase::kLoaded) {
    SetPause(true);
  }
}

void MpvPlayer::Stop() {
  CancelStreamWork();
  failing_since_.reset();
  resume_at_ = 0;
  core_->Command({"stop"});
  const bool busy = phase_ == LoadPhase::kOpening || phase_ == LoadPhase::kLoaded;
  phase_ = busy ? LoadPhase::kStopping : LoadPhase::kNothing;
  start_at_.reset();
}

void MpvPlayer::SetPictureFit(taviro::PictureFit fit) {
  const FitOptions options = FitOptionsFor(fit);
  core_->SetString("keepaspect", options.keepaspect);
  core_->SetString("video-aspect-override", options.aspect_override);
}

void MpvPlayer::SetSoundChannel(SoundChannel channel) { core_->SetString("af", SoundChannelFilter(channel)); }

// A new address replaces the one being read ahead; an empty one only ends it.
void MpvPlayer::Prebuffer(const std::string& url) {
  if (prebuffer_ != nullptr && prebuffer_->url() == url) {
    return;
  }
  prebuffer_.reset();
  if (url.empty() || url == loaded_url_ || !MayReachPlayer(url)) {
    return;
  }
  if (options_.helper != nullptr && options_.helper->Wanted(url)) {
    options_.helper->Prebuffer(url);
    return;
  }
  prebuffer_ = PrebufferSession::Start(url, options_.log, options_.log_level);
}

void MpvPlayer::NameItem(const std::string& url, const std::string& title) {
  if (options_.helper != nullptr) options_.helper->NameItem(url, title);
}

bool MpvPlayer::Ours(std::int64_t entry) const { return entry_.has_value() && *entry_ == entry; }

void MpvPlayer::OnEvent(const mpv_event& event) {
  switch (event.event_id) {
    case MPV_EVENT_COMMAND_REPLY:
      if (!extras_->OnReply(event)) {
        OnReply(event);
      }
      break;
    case MPV_EVENT_START_FILE:
      started_entry_ = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
      break;
    case MPV_EVENT_FILE_LOADED:
      opened_entry_ = started_entry_;
      if (phase_ == LoadPhase::kOpening && Ours(opened_entry_)) {
        Opened();
        if (start_at_) {
          SetPosition(*std::exchange(start_at_, std::nullopt));
        }
      }
      // The item before this one, and the read-ahead that became this one,
      // have been freed by now.
      ReturnFreeHeapPages();
      break;
    case MPV_EVENT_END_FILE: OnEndFile(*static_cast<const mpv_event_end_file*>(event.data)); break;
    case MPV_EVENT_HOOK: DecoderThreadChoice::OnHook(core_->handle(), event); break;
    default: break;
  }
}

void MpvPlayer::OnReply(const mpv_event& event) {
  if (event.reply_userdata != load_request_ || phase_ != LoadPhase::kOpening) {
    return;
  }
  if (event.error < 0) {
    if (!RetryAfterFailure()) phase_ = LoadPhase::kFailed;
    return;
  }
  entry_ = PlaylistEntryOf(*static_cast<const mpv_event_command*>(event.data));
  if (entry_ && opened_entry_ == *entry_) {
    Opened();
  }
}

void MpvPlayer::Opened() {
  phase_ = LoadPhase::kLoaded;
  failing_since_.reset();
  resume_at_ = 0;
  extras_->OnOpened();
}

void MpvPlayer::OnEndFile(const mpv_event_end_file& end) {
  if (!Ours(end.playlist_entry_id)) {
    return;
  }
  switch (end.reason) {
    case MPV_END_FILE_REASON_EOF:
      if (phase_ == LoadPhase::kLoaded) {
        phase_ = LoadPhase::kEnded;
      }
      break;
    case MPV_END_FILE_REASON_ERROR:
      if (phase_ != LoadPhase::kStopping) {
        if (!RetryAfterFailure()) phase_ = LoadPhase::kFailed;
        break;
      }
      [[fallthrough]];
    case MPV_END_FILE_REASON_STOP:
    case MPV_END_FILE_REASON_QUIT: phase_ = LoadPhase::kNothing; break;
    case MPV_END_FILE_REASON_REDIRECT:
      // The player took the item apart as a playlist of its own, as it does
      // with one its demuxer refused: its entries are not what was asked.
      if (phase_ == LoadPhase::kOpening) {
        phase_ = LoadPhase::kFailed;
        core_->Command({"stop"});
      }
      break;
    default: break;
  }
  entry_.reset();
}

void MpvPlayer::OnDrained() {
  extras_->OnDrained();
  if (phase_ == LoadPhase::kStopping && core_->readings().idle_active) {
    phase_ = LoadPhase::kNothing;
  }
  const PlayerState state = State();
  if (state != reported_state_) {
    reported_state_ = state;
    if (state_changed_) {
      state_changed_();
    }
  }
}

// Moving an OpenGL picture to another window costs its render context, and
// libmpv drops a video track whose output goes away; deselecting the track
// first and selecting it again afterwards keeps playback going. Both are set
// synchronously: libmpv runs a synchronous request ahead of queued ones, so a
// queued selection could otherwise land after the context is gone.
void MpvPlayer::LetGoOfVideo() {
  if (video_let_go_) {
    return;
  }
  video_let_go_ = true;
  mpv_set_property_string(core_->handle(), "vid", "no");
}

void MpvPlayer::TakeVideoBack() {
  if (!video_let_go_) {
    return;
  }
  video_let_go_ = false;
  mpv_set_property_string(core_->handle(), "vid", "auto");
}

}  // namespace taviro::mpv
