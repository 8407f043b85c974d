#include "playback/player_status_text.h"

namespace taviro {
namespace {

std::string Decorated(const char* before, int value, const char* after) {
  return before + std::to_string(value) + after;
}

}  // namespace

// The blanks are not uniform ("播放中(" has none before the parenthesis,
// the other counters have one); the texts are kept as users know them.
std::optional<std::string> PlayerStatusText(const PlayerReading& reading) {
  if (reading.untrusted && reading.state != PlayerState::kPlaying) return "证书无效";
  const bool waiting = reading.state == PlayerState::kBuffering || reading.state == PlayerState::kConnecting;
  if (waiting && reading.stalled) return kStalledText;
  switch (reading.state) {
    case PlayerState::kIdle: return reading.loaded ? "停止播放" : "准备就绪";
    case PlayerState::kStopped: return "已停止";
    case PlayerState::kPaused:
      return reading.speed > 0 ? Decorated("已暂停 (", reading.speed, "Kbps/S)") : "已暂停";
    case PlayerState::kPlaying:
      if (reading.live) return reading.title.empty() ? "直播中" : "直播中 " + reading.title;
      // The transfer rate means little during the first seconds of play.
      if (reading.speed > 0 && reading.position > 6) {
        return Decorated("播放中(", reading.speed, " Kbps/S)");
      }
      return Decorated("播放中(", reading.rate, " Kbps)");
    case PlayerState::kBuffering: return Decorated("正在缓冲 (", reading.speed, "Kbps/S)");
    case PlayerState::kWaiting: return "等待中";
    case PlayerState::kEnded: return "播放结束";
    case PlayerState::kPreparing: return "准备读";
    case PlayerState::kReconnecting: return "重连中";
    case PlayerState::kTorrentDownloading: return "BT种子下载中";
    case PlayerState::kConnecting: return Decorated("正在连接 (", reading.speed, "KB/S)");
    case PlayerState::kStopping: return "正在停止";
    default: return std::nullopt;
  }
}

}  // namespace taviro
