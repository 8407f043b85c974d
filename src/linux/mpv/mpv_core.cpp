#include "linux/mpv/mpv_core.h"

#include <array>
#include <clocale>
#include <cstring>
#include <utility>
#include <vector>

namespace taviro::mpv {
namespace {

// Observed properties; the index is the observation's reply number.
enum class Observed : std::uint64_t {
  kTimePos = 1,
  kDuration,
  kPause,
  kMute,
  kVolume,
  kIdleActive,
  kEofReached,
  kCoreIdle,
  kPausedForCache,
  kSeeking,
  kCacheSpeed,
  kCacheState,
  kVideoBitrate,
  kAudioBitrate,
  kFileSize,
};

struct Observation {
  Observed id;
  const char* name;
  mpv_format format;
};

constexpr std::array kObservations = {
    Observation{Observed::kTimePos, "time-pos", MPV_FORMAT_DOUBLE},
    Observation{Observed::kDuration, "duration", MPV_FORMAT_DOUBLE},
    Observation{Observed::kPause, "pause", MPV_FORMAT_FLAG},
    Observation{Observed::kMute, "mute", MPV_FORMAT_FLAG},
    Observation{Observed::kVolume, "volume", MPV_FORMAT_DOUBLE},
    Observation{Observed::kIdleActive, "idle-active", MPV_FORMAT_FLAG},
    Observation{Observed::kEofReached, "eof-reached", MPV_FORMAT_FLAG},
    Observation{Observed::kCoreIdle, "core-idle", MPV_FORMAT_FLAG},
    Observation{Observed::kPausedForCache, "paused-for-cache", MPV_FORMAT_FLAG},
    Observation{Observed::kSeeking, "seeking", MPV_FORMAT_FLAG},
    Observation{Observed::kCacheSpeed, "cache-speed", MPV_FORMAT_INT64},
    Observation{Observed::kCacheState, "demuxer-cache-state", MPV_FORMAT_NODE},
    Observation{Observed::kVideoBitrate, "video-bitrate", MPV_FORMAT_DOUBLE},
    Observation{Observed::kAudioBitrate, "audio-bitrate", MPV_FORMAT_DOUBLE},
    Observation{Observed::kFileSize, "file-size", MPV_FORMAT_INT64},
};

std::optional<double> DoubleOf(const mpv_event_property& property) {
  if (property.format != MPV_FORMAT_DOUBLE) {
    return std::nullopt;
  }
  return *static_cast<const double*>(property.data);
}

bool FlagOf(const mpv_event_property& property, bool when_unavailable) {
  if (property.format != MPV_FORMAT_FLAG) {
    return when_unavailable;
  }
  return *static_cast<const int*>(property.data) != 0;
}

const mpv_node* FindInMap(const mpv_node& map, const char* key) {
  if (map.format != MPV_FORMAT_NODE_MAP || map.u.list == nullptr) {
    return nullptr;
  }
  for (int i = 0; i < map.u.list->num; ++i) {
    if (std::strcmp(map.u.list->keys[i], key) == 0) {
      return &map.u.list->values[i];
    }
  }
  return nullptr;
}

void TakeCacheState(const mpv_event_property& property, PlaybackReadings& readings) {
  readings.cache_end.reset();
  readings.cache_eof = false;
  if (property.format != MPV_FORMAT_NODE) {
    return;
  }
  const auto& map = *static_cast<const mpv_node*>(property.data);
  if (const mpv_node* end = FindInMap(map, "cache-end"); end != nullptr && end->format == MPV_FORMAT_DOUBLE) {
    readings.cache_end = end->u.double_;
  }
  if (const mpv_node* eof = FindInMap(map, "eof"); eof != nullptr && eof->format == MPV_FORMAT_FLAG) {
    readings.cache_eof = eof->u.flag != 0;
  }
}

}  // namespace

namespace {

// Entries of a playlist from the network may only name network addresses,
// those of a local one no fd:// or fdclose://. Streams that ffmpeg opens on
// a stream's behalf (segments, keys, nested playlists) may use the web's
// protocols and local files only: no pipe:, fd:, subfile: or device.
// A web stream that drops, or whose server is briefly unreachable, is
// opened again where it stopped (waits of 1, 3, 7 and 15 s) rather than
// ended: the same one option list carries both.
constexpr std::pair<const char*, const char*> kReachLimits[] = {
    {"load-unsafe-playlists", "no"},
    {"demuxer-lavf-o", "protocol_whitelist=[file,http,https,tcp,tls,crypto,httpproxy]"},
    {"stream-lavf-o",
     "protocol_whitelist=[file,http,https,tcp,tls,crypto,httpproxy],reconnect=1,reconnect_streamed=1,"
     "reconnect_on_network_error=1,reconnect_delay_max=15"},
};

// Servers are checked against the system's certificate store; libmpv
// takes any certificate unless told.
constexpr std::pair<const char*, const char*> kServerTrust[] = {
    {"tls-verify", "yes"},
    {"tls-ca-file", "/etc/ssl/certs/ca-certificates.crt"},
};

// libmpv starts its statistics and console scripts even with load-scripts
// off, each a Lua state on a thread of its own (about 2 MiB); no player of
// ours shows either.
constexpr std::pair<const char*, const char*> kNoBuiltInScripts[] = {
    {"load-stats-overlay", "no"},
    {"load-osd-console", "no"},
};

}  // namespace

std::unique_ptr<MpvCore> MpvCore::Create(const OptionList& options, Hooks hooks) {
  // libmpv refuses to start under a locale whose numbers are not written the
  // C way; the user's language stays in effect for everything else.
  std::setlocale(LC_NUMERIC, "C");
  HandlePtr handle(mpv_create());
  if (!handle) {
    return nullptr;
  }
  for (const auto& [name, value] : kNoBuiltInScripts) {
    mpv_set_option_string(handle.get(), name, value);
  }
  for (const auto& [name, value] : options) {
    // An option this libmpv does not know is left at its default.
    mpv_set_option_string(handle.get(), name.c_str(), value.c_str());
  }
  // What a playlist, a redirect or a stream that names other streams may
  // reach: never the program's own descriptors or devices. A player that
  // cannot be held to this is not made.
  for (const auto& [name, value] : kReachLimits) {
    if (mpv_set_option_string(handle.get(), name, value) < 0) {
      return nullptr;
    }
  }
  for (const auto& [name, value] : kServerTrust) {
    if (mpv_set_option_string(handle.get(), name, value) < 0) {
      return nullptr;
    }
  }
  if (mpv_initialize(handle.get()) < 0) {
    return nullptr;
  }
  return std::unique_ptr<MpvCore>(new MpvCore(std::move(handle), std::move(hooks)));
}

MpvCore::MpvCore(HandlePtr handle, Hooks hooks)
    : handle_(std::move(handle)), hooks_(std::move(hooks)), waker_([this] { Drain(); }) {
  mpv_request_log_messages(handle_.get(), hooks_.log ? hooks_.log_level : "no");
  if (hooks_.observe) {
    ObserveAll();
  }
  mpv_set_wakeup_callback(handle_.get(), &MainLoopWaker::WakeFromAnyThread, &waker_);
  waker_.Wake();
}

MpvCore::~MpvCore() {
  // After this returns libmpv calls no more wake-ups, so the waker can go.
  mpv_set_wakeup_callback(handle_.get(), nullptr, nullptr);
}

void MpvCore::ObserveAll() {
  for (const Observation& observation : kObservations) {
    mpv_observe_property(handle_.get(), static_cast<std::uint64_t>(observation.id), observation.name,
                         observation.format);
  }
}

void MpvCore::Command(std::initializer_list<const char*> args, std::uint64_t reply) {
  std::vector<const char*> list(args);
  list.push_back(nullptr);
  mpv_command_async(handle_.get(), reply, list.data());
}

void MpvCore::SetFlag(const char* name, bool value) {
  int flag = value ? 1 : 0;
  mpv_set_property_async(handle_.get(), 0, name, MPV_FORMAT_FLAG, &flag);
}

void MpvCore::SetDouble(const char* name, double value) {
  mpv_set_property_async(handle_.get(), 0, name, MPV_FORMAT_DOUBLE, &value);
}

void MpvCore::SetString(const char* name, const std::string& value) {
  const char* text = value.c_str();
  mpv_set_property_async(handle_.get(), 0, name, MPV_FORMAT_STRING, &text);
}

std::string MpvCore::GetString(const char* name) const {
  char* text = mpv_get_property_string(handle_.get(), name);
  if (text == nullptr) {
    return {};
  }
  std::string value(text);
  mpv_free(text);
  return value;
}

void MpvCore::Drain() {
  for (;;) {
    const mpv_event* event = mpv_wait_event(handle_.get(), 0);
    if (event->event_id == MPV_EVENT_NONE) {
      break;
    }
    if (event->event_id == MPV_EVENT_PROPERTY_CHANGE) {
      TakeProperty(*static_cast<const mpv_event_property*>(event->data));
    } else if (event->event_id == MPV_EVENT_LOG_MESSAGE) {
      const auto& line = *static_cast<const mpv_event_log_message*>(event->data);
      if (hooks_.log) {
        hooks_.log(line.level, line.prefix, line.text);
      }
    } else if (hooks_.event) {
      hooks_.event(*event);
    }
  }
  if (hooks_.drained) {
    hooks_.drained();
  }
}

// A property that becomes unavailable arrives without a value; it then reads
// as it does before anything is loaded, never as its last value.
void MpvCore::TakeProperty(const mpv_event_property& property) {
  const PlaybackReadings idle;
  PlaybackReadings& r = readings_;
  for (const Observation& observation : kObservations) {
    if (std::strcmp(observation.name, property.name) != 0) {
      continue;
    }
    switch (observation.id) {
      case Observed::kTimePos: r.time_pos = DoubleOf(property); break;
      case Observed::kDuration: r.duration = DoubleOf(property); break;
      case Observed::kPause: r.pause = FlagOf(property, idle.pause); break;
      case Observed::kMute: r.mute = FlagOf(property, idle.mute); break;
      case Observed::kVolume: r.volume = DoubleOf(property).value_or(idle.volume); break;
      case Observed::kIdleActive: r.idle_active = FlagOf(property, idle.idle_active); break;
      case Observed::kEofReached: r.eof_reached = FlagOf(property, idle.eof_reached); break;
      case Observed::kCoreIdle: r.core_idle = FlagOf(property, idle.core_idle); break;
      case Observed::kPausedForCache: r.paused_for_cache = FlagOf(property, idle.paused_for_cache); break;
      case Observed::kSeeking: r.seeking = FlagOf(property, idle.seeking); break;
      case Observed::kCacheSpeed:
        r.cache_speed =
            property.format == MPV_FORMAT_INT64 ? *static_cast<const std::int64_t*>(property.data) : 0;
        break;
      case Observed::kCacheState: TakeCacheState(property, r); break;
      case Observed::kVideoBitrate: r.video_bitrate = DoubleOf(property).value_or(0); break;
      case Observed::kAudioBitrate: r.audio_bitrate = DoubleOf(property).value_or(0); break;
      case Observed::kFileSize:
        r.file_size = property.format == MPV_FORMAT_INT64
                          ? std::optional(*static_cast<const std::int64_t*>(property.data))
                          : std::nullopt;
        break;
    }
    return;
  }
  if (hooks_.other_property) {
    hooks_.other_property(property);
  }
}

}  // namespace taviro::mpv
