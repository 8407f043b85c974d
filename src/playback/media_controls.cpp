#include "playback/media_controls.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "lists/media_lists.h"
#include "playback/control_bar.h"
#include "playback/item_key.h"
#include "playback/media_choices.h"
#include "playback/play_list_entry.h"
#include "playback/playback_context.h"
#include "playback/seek_bar.h"
#include "playback/volume_bar.h"
#include "ports/player_control.h"
#include "ports/player_details.h"
#include "util/file_uri.h"
#include "window/bo_but_buttons.h"
#include "window/content_mode.h"
#include "window/main_window.h"
#include "window/window_state.h"

namespace taviro {
namespace {

constexpr std::int64_t kMicroseconds = 1'000'000;
// Polls come late on a busy machine; a jump smaller than this is the clock
// moving on.
constexpr std::int64_t kJumpUs = 2 * kMicroseconds;
constexpr std::string_view kTrackPrefix = "/org/taviro/track/";

// The item is over, stopped or failed: the desktop is told there is no
// track rather than shown a clock that no longer moves.
bool NoItemPlaying(PlayerState state) {
  return state == PlayerState::kIdle || state == PlayerState::kStopped || state == PlayerState::kEnded ||
         state == PlayerState::kStopping;
}

}  // namespace

std::string_view PlaybackStatusName(PlaybackStatus status) {
  switch (status) {
    case PlaybackStatus::kPlaying: return "Playing";
    case PlaybackStatus::kPaused: return "Paused";
    case PlaybackStatus::kStopped: break;
  }
  return "Stopped";
}

std::string_view MediaPropertyName(MediaProperty property) {
  switch (property) {
    case MediaProperty::kPlaybackStatus: return "PlaybackStatus";
    case MediaProperty::kMetadata: return "Metadata";
    case MediaProperty::kVolume: return "Volume";
    case MediaProperty::kCanPlay: return "CanPlay";
    case MediaProperty::kCanPause: return "CanPause";
    case MediaProperty::kCanSeek: return "CanSeek";
    case MediaProperty::kCanGoNext: return "CanGoNext";
    case MediaProperty::kRate: return "Rate";
    case MediaProperty::kCanGoPrevious: break;
  }
  return "CanGoPrevious";
}

std::vector<MediaProperty> ChangedProperties(const MediaControlsState& before,
                                             const MediaControlsState& after) {
  std::vector<MediaProperty> changed;
  const auto note = [&changed](bool differs, MediaProperty property) {
    if (differs) changed.push_back(property);
  };
  note(before.status != after.status, MediaProperty::kPlaybackStatus);
  note(before.title != after.title || before.artist != after.artist || before.track_id != after.track_id ||
           before.length_us != after.length_us || before.url != after.url,
       MediaProperty::kMetadata);
  note(before.volume != after.volume, MediaProperty::kVolume);
  note(before.can_play != after.can_play, MediaProperty::kCanPlay);
  note(before.can_pause != after.can_pause, MediaProperty::kCanPause);
  note(before.can_seek != after.can_seek, MediaProperty::kCanSeek);
  note(before.can_go_next != after.can_go_next, MediaProperty::kCanGoNext);
  note(before.can_go_previous != after.can_go_previous, MediaProperty::kCanGoPrevious);
  note(before.rate != after.rate, MediaProperty::kRate);
  return changed;
}

MediaControls::MediaControls(PlaybackContext& context, PlayerDetails* details)
    : context_(context), details_(details) {}

bool MediaControls::PlayerShown() const { return context_.window.model.ContentMode == ContentMode::kPlayer; }

void MediaControls::Press(int button) { context_.window.ClickControlBar(button); }

void MediaControls::PlayPause() {
  if (PlayerShown()) Press(bo_but::kPlayPause);
}

void MediaControls::Play() {
  if (PlayerShown() && !context_.window.model.playing) {
    Press(bo_but::kPlayPause);
  }
}

void MediaControls::Pause() {
  if (PlayerShown() && context_.window.model.playing) {
    Press(bo_but::kPlayPause);
  }
}

void MediaControls::Stop() {
  if (PlayerShown()) Press(bo_but::kStop);
}

void MediaControls::Next() { Step(1); }

void MediaControls::Previous() { Step(-1); }

// A local file steps through the local-file list, top to bottom as it
// shows; a series item through its episodes, as the bar's buttons do.
void MediaControls::Step(int step) {
  const MediaControlsState state = Current();
  if (!(step > 0 ? state.can_go_next : state.can_go_previous)) return;
  if (const std::optional<int> line = LocalNeighbour(step)) {
    PlayLocalListLine(context_, *line);
  } else {
    Press(step > 0 ? bo_but::kNext : bo_but::kPrevious);
  }
}

std::optional<int> MediaControls::LocalNeighbour(int step) const {
  if (context_.now.item_kind != ItemKind::kLocalFile) return std::nullopt;
  return context_.lists.LocalNeighbour(context_.now.ListKey, step);
}

void MediaControls::Seek(std::int64_t offset_us) {
  const MediaControlsState state = Current();
  if (!state.can_seek) return;
  const std::int64_t target = PositionUs() + offset_us;
  if (target > state.length_us) {
    Next();
    return;
  }
  SeekTo(static_cast<int>(std::max<std::int64_t>(target, 0) / kMicroseconds));
}

void MediaControls::SetPosition(std::string_view track_id, std::int64_t position_us) {
  const MediaControlsState state = Current();
  if (!state.can_seek || track_id != state.track_id || position_us < 0 || position_us > state.length_us)
    return;
  SeekTo(static_cast<int>(position_us / kMicroseconds));
}

// The thumb moves at once, as the seek keys move it; the poller brings the
// time label along on its next tick.
void MediaControls::SeekTo(int seconds) {
  PlayerControl& player = context_.window.ports.player;
  player.SetPosition(seconds);
  WindowModel& model = context_.window.model;
  PlaceSeekThumb(model, SeekThumbLeftFor(model, seconds, player.Duration()));
  seek_requested_ = true;
}

void MediaControls::SetVolume(double volume) {
  MainWindow& window = context_.window;
  UnmuteFirst(window);
  PlayerControl& player = window.ports.player;
  player.SetVolume(static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100)));
  ShowVolumeStatus(window);
  PlaceVolumeKnob(window.model, VolumeTravel(window.model) * player.Volume() / 100);
}

void MediaControls::SetRate(double rate) {
  if (rate == 0.0) {
    Pause();
  } else if (rate > 0 && context_.choices != nullptr) {
    context_.choices->ChooseSpeed(rate);
  }
}

void MediaControls::Raise() {
  MainWindow& window = context_.window;
  if (!window.model.shown) SetWindowShown(window, true);
  if (window.model.state == WindowState::kMinimised) SetWindowState(window, WindowState::kNormal);
}

MediaControlsState MediaControls::Current() {
  MainWindow& window = context_.window;
  PlayerControl& player = window.ports.player;
  const std::string url = player.Url();
  if (url != loaded_url_) {
    loaded_url_ = url;
    if (!url.empty()) ++track_number_;
  }
  MediaControlsState state;
  state.volume = std::clamp(player.Volume(), 0, 100) / 100.0;
  if (context_.choices != nullptr) state.rate = context_.choices->Speed();
  const std::optional<ItemKey> key = ParseItemKey(context_.now.CurrentItemKey);
  state.can_go_next = key.has_value() || LocalNeighbour(1).has_value();
  state.can_go_previous = (key.has_value() && key->episode > 0) || LocalNeighbour(-1).has_value();
  if (!PlayerShown() || url.empty()) return state;
  state.can_play = true;
  if (NoItemPlaying(player.State())) return state;

  DescribeTrack(state);
  if (window.model.playing) {
    state.status = PlaybackStatus::kPlaying;
  } else if (player.State() == PlayerState::kPaused) {
    state.status = PlaybackStatus::kPaused;
  }
  state.can_pause = true;
  state.can_seek = state.length_us > 0;
  return state;
}

void MediaControls::DescribeTrack(MediaControlsState& state) {
  PlayerControl& player = context_.window.ports.player;
  state.track_id = std::string(kTrackPrefix) + std::to_string(track_number_);
  state.title = context_.window.model[RegionId::bo_name].caption;
  const std::string url = player.Url();
  if (context_.now.item_kind == ItemKind::kLocalFile && std::filesystem::path(url).is_absolute()) {
    state.url = FileUri(url);
  } else if (url.find("://") != std::string::npos) {
    state.url = url;
  }
  if (details_ == nullptr) {
    state.length_us = std::int64_t{std::max(player.Duration(), 0)} * kMicroseconds;
    return;
  }
  state.length_us = details_->DurationUs();
  TrackTags tags = details_->Tags();
  if (!tags.title.empty()) state.title = std::move(tags.title);
  state.artist = std::move(tags.artist);
}

std::int64_t MediaControls::PositionUs() {
  PlayerControl& player = context_.window.ports.player;
  if (!PlayerShown() || player.Url().empty() || NoItemPlaying(player.State())) return 0;
  if (details_ != nullptr) return details_->PositionUs();
  return std::int64_t{std::max(player.Position(), 0)} * kMicroseconds;
}

MediaControlsUpdate MediaControls::Poll(std::int64_t now_ms) {
  MediaControlsUpdate update;
  const MediaControlsState state = Current();
  const std::int64_t position = PositionUs();
  const bool moving = state.status == PlaybackStatus::kPlaying &&
                      context_.window.ports.player.State() == PlayerState::kPlaying;
  if (polled_) {
    update.changed = ChangedProperties(published_, state);
    // Where the clock can be by now: on by the time passed while it ran, and
    // anywhere in between when it started or stopped since.
    const auto run =
        static_cast<std::int64_t>(static_cast<double>((now_ms - published_at_ms_) * 1000) * state.rate);
    const std::int64_t latest = published_position_us_ + (published_moving_ || moving ? run : 0);
    const std::int64_t earliest = published_moving_ && moving ? latest : published_position_us_;
    const bool same_item = state.track_id == published_.track_id && state.track_id != kNoTrack;
    const bool jumped = position < earliest - kJumpUs || position > latest + kJumpUs;
    if (seek_requested_ || (same_item && jumped)) {
      update.seeked_us = position;
    }
  }
  polled_ = true;
  seek_requested_ = false;
  published_ = state;
  published_position_us_ = position;
  published_at_ms_ = now_ms;
  published_moving_ = moving;
  return update;
}

}  // namespace taviro
