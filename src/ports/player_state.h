#pragma once

namespace taviro {

// The player's state, as its dispatch table's operation 16 reports it; the
// values are that operation's numbers.
enum class PlayerState : int {
  kIdle = 0,  // nothing playing: "ready", or "stopped" with an item loaded
  kStopped = 1,
  kPaused = 2,
  kPlaying = 3,
  kBuffering = 4,
  kWaiting = 5,
  kEnded = 6,
  kPreparing = 7,  // a local file is being opened
  kReconnecting = 8,
  kTorrentDownloading = 9,
  kConnecting = 10,  // a network address is being opened
  kStopping = 11,
};

}  // namespace taviro
