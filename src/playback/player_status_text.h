#pragma once

#include <optional>
#include <string>

#include "ports/player_state.h"

namespace taviro {

// What the player reports in one poll, as the status label words it.
struct PlayerReading {
  PlayerState state = PlayerState::kIdle;
  int speed = 0;           // transfer rate, "Kbps/S"
  int rate = 0;            // the second rate, "Kbps"
  int position = 0;        // seconds
  bool loaded = false;     // a media address is set
  bool live = false;       // the item has no end
  bool untrusted = false;  // its server's certificate is not trusted
  // Connecting or buffering with no byte arriving for long: the source
  // stalls or is unreachable, and the transfer keeps trying.
  bool stalled = false;
  std::string title;  // what a live stream says is on now
};

inline constexpr const char* kStalledText = "连接超时，正在重试";

// The status label's text for the player's state; nothing for a value
// outside the enumeration (the label then keeps its text).
std::optional<std::string> PlayerStatusText(const PlayerReading& reading);

}  // namespace taviro
