#include "linux/mpv/mpv_extras.h"

#include <cstring>
#include <optional>
#include <string_view>

namespace taviro::mpv {
namespace {

// Observation and reply numbers of their own, apart from the core's and
// the player's.
constexpr std::uint64_t kTrackList = 1001;
constexpr std::uint64_t kSpeed = 1002;
constexpr std::uint64_t kSubDelay = 1003;
constexpr std::uint64_t kSubText = 1004;
constexpr std::uint64_t kFirstReply = std::uint64_t{1} << 40;

std::optional<TrackKind> KindOf(std::string_view type) {
  if (type == "video") return TrackKind::kVideo;
  if (type == "audio") return TrackKind::kAudio;
  if (type == "sub") return TrackKind::kSubtitle;
  return std::nullopt;
}

const char* PropertyOf(TrackKind kind) {
  switch (kind) {
    case TrackKind::kVideo: return "vid";
    case TrackKind::kAudio: return "aid";
    case TrackKind::kSubtitle: return "sid";
  }
  return "sid";
}

std::string_view TextOf(const mpv_node& node) {
  return node.format == MPV_FORMAT_STRING && node.u.string != nullptr ? node.u.string : "";
}

std::optional<MediaTrack> TrackOf(const mpv_node& map) {
  if (map.format != MPV_FORMAT_NODE_MAP || map.u.list == nullptr) return std::nullopt;
  MediaTrack track;
  std::optional<TrackKind> kind;
  for (int i = 0; i < map.u.list->num; ++i) {
    const std::string_view key = map.u.list->keys[i];
    const mpv_node& value = map.u.list->values[i];
    if (key == "type") {
      kind = KindOf(TextOf(value));
    } else if (key == "id" && value.format == MPV_FORMAT_INT64) {
      track.id = static_cast<int>(value.u.int64);
    } else if (key == "lang") {
      track.language = TextOf(value);
    } else if (key == "title") {
      track.title = TextOf(value);
    } else if (key == "external-filename") {
      track.file = TextOf(value);
    } else if (key == "selected" && value.format == MPV_FORMAT_FLAG) {
      track.selected = value.u.flag != 0;
    }
  }
  if (!kind) return std::nullopt;
  track.kind = *kind;
  return track;
}

std::vector<MediaTrack> TracksOf(const mpv_event_property& property) {
  std::vector<MediaTrack> tracks;
  if (property.format != MPV_FORMAT_NODE) return tracks;
  const auto& list = *static_cast<const mpv_node*>(property.data);
  if (list.format != MPV_FORMAT_NODE_ARRAY || list.u.list == nullptr) return tracks;
  for (int i = 0; i < list.u.list->num; ++i) {
    if (auto track = TrackOf(list.u.list->values[i])) tracks.push_back(std::move(*track));
  }
  return tracks;
}

}  // namespace

MpvExtras::MpvExtras(MpvCore& core) : core_(core), last_reply_(kFirstReply) {
  mpv_handle* handle = core_.handle();
  mpv_observe_property(handle, kTrackList, "track-list", MPV_FORMAT_NODE);
  mpv_observe_property(handle, kSpeed, "speed", MPV_FORMAT_DOUBLE);
  mpv_observe_property(handle, kSubDelay, "sub-delay", MPV_FORMAT_DOUBLE);
  mpv_observe_property(handle, kSubText, "sub-text", MPV_FORMAT_STRING);
}

void MpvExtras::SelectTrack(TrackKind kind, int id) {
  core_.SetString(PropertyOf(kind), id > 0 ? std::to_string(id) : "no");
}

void MpvExtras::AddSubtitleFile(const std::string& path, const std::string& title, bool select) {
  core_.Command({"sub-add", path.c_str(), select ? "select" : "auto", title.c_str()});
}

void MpvExtras::SetSubtitleDelay(double seconds) {
  core_.SetDouble("sub-delay", seconds);
  sub_delay_ = seconds;
}

void MpvExtras::SetSpeed(double rate) {
  core_.SetDouble("speed", rate);
  speed_ = rate;
}

// "video": the decoded frame at its own size, without subtitles or the
// window's scaling. The player writes into the file already open here, by
// its descriptor's own name, so no folder's name is followed; a name
// without an extension leaves the format to the option.
void MpvExtras::SaveFrame(int fd, std::function<void(bool written)> done) {
  const std::uint64_t reply = ++last_reply_;
  frames_[reply] = std::move(done);
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  core_.SetString("screenshot-format", "png");
  core_.Command({"screenshot-to-file", path.c_str(), "video"}, reply);
}

void MpvExtras::OnProperty(const mpv_event_property& property) {
  if (std::strcmp(property.name, "track-list") == 0) {
    tracks_ = TracksOf(property);
    pending_.push_back(PlayerChange::kTracks);
  } else if (std::strcmp(property.name, "speed") == 0 && property.format == MPV_FORMAT_DOUBLE) {
    speed_ = *static_cast<const double*>(property.data);
    pending_.push_back(PlayerChange::kSpeed);
  } else if (std::strcmp(property.name, "sub-delay") == 0 && property.format == MPV_FORMAT_DOUBLE) {
    sub_delay_ = *static_cast<const double*>(property.data);
  } else if (std::strcmp(property.name, "sub-text") == 0) {
    const char* text =
        property.format == MPV_FORMAT_STRING ? *static_cast<const char* const*>(property.data) : nullptr;
    sub_text_ = text != nullptr ? text : "";
    pending_.push_back(PlayerChange::kSubtitle);
  }
}

bool MpvExtras::OnReply(const mpv_event& event) {
  const auto frame = frames_.find(event.reply_userdata);
  if (frame == frames_.end()) return event.reply_userdata >= kFirstReply;
  std::function<void(bool)> done = std::move(frame->second);
  frames_.erase(frame);
  if (done) done(event.error >= 0);
  return true;
}

void MpvExtras::OnDrained() {
  std::vector<PlayerChange> changes;
  changes.swap(pending_);
  if (!changed_) return;
  for (PlayerChange change : changes) changed_(change);
}

}  // namespace taviro::mpv
