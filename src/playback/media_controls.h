#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taviro {

struct PlaybackContext;
class PlayerDetails;

// The desktop's media controls (media keys, the panel's player widget): what
// they see of the player and what their commands do. The commands press the
// control bar's buttons, so they act exactly as a click would; times are in
// microseconds, as the desktop counts them.

enum class PlaybackStatus { kPlaying, kPaused, kStopped };
std::string_view PlaybackStatusName(PlaybackStatus status);  // "Playing", "Paused", "Stopped"

inline constexpr std::string_view kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

struct MediaControlsState {
  PlaybackStatus status = PlaybackStatus::kStopped;
  std::string title;               // the file's own, else as the control bar shows it
  std::string artist;              // the file's own, "" when it names none
  std::string url;                 // file:// for a local file, else the address played
  std::string track_id{kNoTrack};  // new for every item loaded
  std::int64_t length_us = 0;      // 0 while unknown
  double volume = 0.0;             // 0..1
  double rate = 1.0;               // the playback speed
  bool can_play = false;
  bool can_pause = false;
  bool can_seek = false;
  bool can_go_next = false;
  bool can_go_previous = false;
  bool operator==(const MediaControlsState&) const = default;
};

// The properties that the desktop is told about when they change.
enum class MediaProperty {
  kPlaybackStatus,
  kMetadata,
  kVolume,
  kCanPlay,
  kCanPause,
  kCanSeek,
  kCanGoNext,
  kCanGoPrevious,
  kRate,
};
std::string_view MediaPropertyName(MediaProperty property);
std::vector<MediaProperty> ChangedProperties(const MediaControlsState& before,
                                             const MediaControlsState& after);

struct MediaControlsUpdate {
  std::vector<MediaProperty> changed;
  // Set when the position jumped (a seek from anywhere): the new position.
  std::optional<std::int64_t> seeked_us;
};

class MediaControls {
 public:
  // Without `details` times are the dispatch table's whole seconds and
  // titles those the control bar shows.
  explicit MediaControls(PlaybackContext& context, PlayerDetails* details = nullptr);

  // Only while the player shows: the web play page and the TV page cannot be
  // paused from outside, and the bar's buttons do nothing there either.
  void PlayPause();
  void Play();
  void Pause();
  void Stop();
  // Next and previous episode of the series playing; for a local file the
  // next and previous entry of the local-file list.
  void Next();
  void Previous();
  // Beyond the end acts as Next; before the start goes to the start.
  void Seek(std::int64_t offset_us);
  // Ignored unless `track_id` is the item playing and the position lies
  // within it.
  void SetPosition(std::string_view track_id, std::int64_t position_us);
  void SetVolume(double volume);
  // 0 pauses; any other rate picks the nearest of the player's speeds.
  void SetRate(double rate);
  // Shows the window, from the tray or minimised.
  void Raise();

  MediaControlsState Current();
  std::int64_t PositionUs();

  // What changed since the last poll; `now_ms` is a steady clock, used to
  // tell a seek from the position moving on by itself.
  MediaControlsUpdate Poll(std::int64_t now_ms);

 private:
  bool PlayerShown() const;
  // The item playing as the desktop sees it: its track, times and tags.
  void DescribeTrack(MediaControlsState& state);
  void Press(int button);
  void Step(int step);
  std::optional<int> LocalNeighbour(int step) const;
  void SeekTo(int seconds);

  PlaybackContext& context_;
  PlayerDetails* details_;
  std::string loaded_url_;
  int track_number_ = 0;
  MediaControlsState published_;
  std::int64_t published_position_us_ = 0;
  std::int64_t published_at_ms_ = 0;
  bool published_moving_ = false;
  bool polled_ = false;
  bool seek_requested_ = false;
};

}  // namespace taviro
