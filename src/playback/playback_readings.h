#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "ports/player_state.h"

namespace taviro::mpv {

// The player's properties as last reported, in plain values.
struct PlaybackReadings {
  std::optional<double> time_pos;
  std::optional<double> duration;
  double volume = 100;
  bool pause = false;
  bool mute = false;
  bool idle_active = true;
  bool eof_reached = false;
  bool core_idle = true;
  bool paused_for_cache = false;
  bool seeking = false;
  std::int64_t cache_speed = 0;     // bytes per second arriving from the source
  std::optional<double> cache_end;  // media seconds read ahead into the cache
  bool cache_eof = false;           // the source has been read to its end
  double video_bitrate = 0;         // bits per second
  double audio_bitrate = 0;
  std::optional<std::int64_t> file_size;  // bytes, when the source tells
};

// Where the adapter is with the item it was asked to play. The player's own
// properties cannot tell "opening" from "idle", nor a stop in progress.
enum class LoadPhase {
  kNothing,   // nothing asked for, or stopped
  kOpening,   // asked to load, the file is not open yet
  kLoaded,    // open: playing, paused, buffering or at its end
  kEnded,     // the player closed the file at its end
  kFailed,    // the file could not be opened or played
  kStopping,  // asked to stop, the player has not finished yet
};

// The control's state for what the player reports.
PlayerState StateCode(const PlaybackReadings& readings, LoadPhase phase, bool network);

// Whole seconds, 0 while unknown; at most 10^9, whatever the stream says.
int DurationSeconds(const PlaybackReadings& readings);
int PositionSeconds(const PlaybackReadings& readings);
// A time in microseconds, 0 while unknown, within the same bound.
std::int64_t Microseconds(const std::optional<double>& seconds);
// Bytes per second arriving from the source, in KB/s, within 16 bits.
int TransferRateKb(const PlaybackReadings& readings);
// The stream's bit rate in kbit/s, within 16 bits. Until the player has
// measured it (it does so per keyframe interval, ten seconds and more into
// many files) the file's average stands in.
int StreamRateKbit(const PlaybackReadings& readings);
// How much of the item is available locally, in thousandths.
int DownloadThousandths(const PlaybackReadings& readings, LoadPhase phase, bool network);

// A media address that the player fetches over a network protocol; a plain
// path and a file: address are local.
bool IsNetworkAddress(std::string_view address);

}  // namespace taviro::mpv
