#include "playback/player_status_text.h"

#include "util/translate.h"

namespace taviro {
namespace {

std::string Decorated(const char* before, int value, const char* after) {
  return before + std::to_string(value) + after;
}

}  // namespace

// The blanks are not uniform ("播放中(" has none before the parenthesis,
// the other counters have one); the texts are kept as users know them.
std::optional<std::string> PlayerStatusText(const PlayerReading& reading) {
  if (reading.untrusted && reading.state != PlayerState::kPlaying) return N_("证书无效");
  const bool waiting = reading.state == PlayerState::kBuffering || reading.state == PlayerState::kConnecting;
  if (waiting && reading.stalled) return kStalledText;
  switch (reading.state) {
    case PlayerState::kIdle: return reading.loaded ? N_("停止播放") : N_("准备就绪");
    case PlayerState::kStopped: return N_("已停止");
    case PlayerState::kPaused:
      return reading.speed > 0 ? Decorated("已暂停 (", reading.speed, "Kbps/S)") : N_("已暂停");
    case PlayerState::kPlaying:
      if (reading.live) return reading.title.empty() ? N_("直播中") : "直播中 " + reading.title;
      // The transfer rate means little during the first seconds of play.
      if (reading.speed > 0 && reading.position > 6) {
        return Decorated("播放中(", reading.speed, " Kbps/S)");
      }
      return Decorated("播放中(", reading.rate, " Kbps)");
    case PlayerState::kBuffering: return Decorated("正在缓冲 (", reading.speed, "Kbps/S)");
    case PlayerState::kWaiting: return N_("等待中");
    case PlayerState::kEnded: return N_("播放结束");
    case PlayerState::kPreparing: return N_("准备读");
    case PlayerState::kReconnecting: return N_("重连中");
    case PlayerState::kTorrentDownloading: return N_("BT种子下载中");
    case PlayerState::kConnecting: return Decorated("正在连接 (", reading.speed, "KB/S)");
    case PlayerState::kStopping: return N_("正在停止");
    default: return std::nullopt;
  }
}

}  // namespace taviro
