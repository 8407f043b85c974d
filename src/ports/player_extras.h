#pragma once

#include <functional>
#include <string>
#include <vector>

namespace taviro {

enum class TrackKind { kVideo, kAudio, kSubtitle };

// One stream of the open item as the player lists it. Ids count per kind
// from 1; 0 stands for "none" when selecting.
struct MediaTrack {
  TrackKind kind = TrackKind::kVideo;
  int id = 0;
  std::string language;  // as the file tags it ("chi", "eng"), or ""
  std::string title;
  std::string file;  // the file a track added from outside was read from
  bool selected = false;
  bool operator==(const MediaTrack&) const = default;
};

// What the player tells about the item beyond its state code.
enum class PlayerChange {
  kOpened,    // an item is open; its tracks are listed
  kTracks,    // the track list or its selection changed
  kSpeed,     // the playback speed changed
  kSubtitle,  // the subtitle text on screen changed
};

// The player's tracks, speed, subtitle delay and frame capture.
class PlayerExtras {
 public:
  virtual ~PlayerExtras() = default;

  virtual std::vector<MediaTrack> Tracks() = 0;
  // `id` 0 turns that kind off.
  virtual void SelectTrack(TrackKind kind, int id) = 0;
  // Adds a subtitle file (UTF-8 text) under `title`, shown at once when
  // `select`.
  virtual void AddSubtitleFile(const std::string& path, const std::string& title, bool select) = 0;
  virtual double SubtitleDelay() = 0;  // seconds, positive shows them later
  virtual void SetSubtitleDelay(double seconds) = 0;
  virtual double Speed() = 0;
  virtual void SetSpeed(double rate) = 0;  // the pitch stays
  // The subtitle text on screen now, "" when none.
  virtual std::string SubtitleText() = 0;
  // Writes the current frame, without subtitles and at the video's own size,
  // as a PNG file into the open file `fd`, which stays open until `done`
  // learns whether it was written.
  virtual void SaveFrame(int fd, std::function<void(bool written)> done) = 0;
  // Called from the main loop, never from inside a call on the player.
  virtual void SetChangeHandler(std::function<void(PlayerChange)> handler) = 0;
};

}  // namespace taviro
