#include "playback/playback_readings.h"

#include <algorithm>
#include <cmath>

namespace taviro::mpv {
namespace {

constexpr int kMax16 = 32767;
// A stream may claim any time stamp; whole seconds stay well inside an int,
// with room for the sums and differences the poller makes of them.
constexpr double kMaxSeconds = 1'000'000'000;

int ClampTo16Bits(double value) {
  if (!(value > 0)) {
    return 0;
  }
  return static_cast<int>(std::min(value, static_cast<double>(kMax16)));
}

}  // namespace

// State codes as the control reports them, and what the player shows for each:
//
//   code  meaning            player condition
//   0     ready / stopped    nothing loaded, or stopped (idle)
//   1     stopped            the last item could not be opened or played
//   2     paused             pause requested (and not at the end)
//   3     playing            time runs
//   4     buffering          waiting for the cache, opening a stream, seeking
//   6     ended              at the end of the item (kept open, paused there)
//   7     preparing to read  a local file is being opened
//   10    connecting         a network address is being opened
//   11    stopping           stop requested, the player is still closing
//
// 5 (waiting), 8 (reconnecting) and 9 (torrent download) have no counterpart.
PlayerState StateCode(const PlaybackReadings& readings, LoadPhase phase, bool network) {
  switch (phase) {
    case LoadPhase::kNothing: return PlayerState::kIdle;
    case LoadPhase::kFailed: return PlayerState::kStopped;
    case LoadPhase::kStopping: return PlayerState::kStopping;
    case LoadPhase::kOpening: return network ? PlayerState::kConnecting : PlayerState::kPreparing;
    case LoadPhase::kEnded: return PlayerState::kEnded;
    case LoadPhase::kLoaded: break;
  }
  if (readings.idle_active) {
    return PlayerState::kIdle;
  }
  if (readings.eof_reached) {
    return PlayerState::kEnded;
  }
  if (readings.pause) {
    return PlayerState::kPaused;
  }
  if (readings.paused_for_cache || readings.core_idle || readings.seeking) {
    return PlayerState::kBuffering;
  }
  return PlayerState::kPlaying;
}

int DurationSeconds(const PlaybackReadings& readings) {
  if (!readings.duration || !(*readings.duration > 0)) {
    return 0;
  }
  return static_cast<int>(std::lround(std::min(*readings.duration, kMaxSeconds)));
}

int PositionSeconds(const PlaybackReadings& readings) {
  if (!readings.time_pos || !(*readings.time_pos > 0)) {
    return 0;
  }
  return static_cast<int>(std::floor(std::min(*readings.time_pos, kMaxSeconds)));
}

std::int64_t Microseconds(const std::optional<double>& seconds) {
  if (!seconds || !(*seconds > 0)) {
    return 0;
  }
  return std::llround(std::min(*seconds, kMaxSeconds) * 1e6);
}

int TransferRateKb(const PlaybackReadings& readings) {
  return ClampTo16Bits(static_cast<double>(readings.cache_speed) / 1024.0);
}

int StreamRateKbit(const PlaybackReadings& readings) {
  const double measured = readings.video_bitrate + readings.audio_bitrate;
  if (readings.video_bitrate > 0 || !readings.file_size || !readings.duration || !(*readings.duration > 0)) {
    return ClampTo16Bits(measured / 1000.0);
  }
  return ClampTo16Bits(static_cast<double>(*readings.file_size) * 8.0 / *readings.duration / 1000.0);
}

int DownloadThousandths(const PlaybackReadings& readings, LoadPhase phase, bool network) {
  if (phase != LoadPhase::kLoaded && phase != LoadPhase::kEnded) {
    return 0;
  }
  if (!network || readings.cache_eof) {
    return 1000;
  }
  if (!readings.cache_end || !readings.duration || !(*readings.duration > 0)) {
    return 0;
  }
  const double share = *readings.cache_end / *readings.duration * 1000.0;
  return std::clamp(static_cast<int>(std::lround(share)), 0, 1000);
}

bool IsNetworkAddress(std::string_view address) {
  const std::size_t separator = address.find("://");
  if (separator == std::string_view::npos || separator == 0) {
    return false;
  }
  const std::string_view scheme = address.substr(0, separator);
  const bool plain_scheme = std::all_of(scheme.begin(), scheme.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '-' || c == '.';
  });
  if (!plain_scheme) {
    return false;
  }
  return !(scheme.size() == 4 && (scheme[0] | 0x20) == 'f' && (scheme[1] | 0x20) == 'i' &&
           (scheme[2] | 0x20) == 'l' && (scheme[3] | 0x20) == 'e');
}

}  // namespace taviro::mpv
