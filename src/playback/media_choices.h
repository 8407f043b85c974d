#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "playback/track_memory.h"
#include "ports/player_extras.h"
#include "util/private_files.h"

namespace taviro {

class Clock;
class FileDialog;
class PlayerControl;
class TrayIcon;

inline constexpr std::array<double, 6> kSpeeds = {0.5, 0.75, 1.0, 1.25, 1.5, 2.0};
inline constexpr double kSubtitleDelayStep = 0.1;

struct MediaChoicesPorts {
  PlayerControl& player;
  PlayerExtras& extras;
  FileDialog& files;
  TrayIcon& tray;
  Clock& clock;
};

struct MediaChoicesConfig {
  std::filesystem::path memory_file;
  // Screenshots go into its Taviro/ folder.
  std::filesystem::path pictures_folder;
  // Developer lines on stderr: each track the player selects, the speed,
  // the subtitle shown, each screenshot.
  bool report = false;
};

// Subtitles, audio tracks, speed and screenshots of the item playing: the
// player menu's submenus and their keys. A subtitle file beside a local
// video is loaded as the item opens; the user's choice of subtitle and audio
// track is remembered per item and restored when it opens again.
class MediaChoices {
 public:
  MediaChoices(MediaChoicesPorts ports, MediaChoicesConfig config);
  MediaChoices(const MediaChoices&) = delete;
  MediaChoices& operator=(const MediaChoices&) = delete;
  ~MediaChoices();

  bool HasItem() const;
  std::vector<MediaTrack> Tracks(TrackKind kind) const;
  // The file a subtitle track was read from, as the user knows it; "" for
  // a track of the video itself.
  std::string SourceFile(const MediaTrack& track) const;

  void ChooseSubtitle(int id);  // 0 turns subtitles off
  void LoadSubtitleFile();      // asks for the file
  void ShiftSubtitleDelay(int steps);
  double SubtitleDelay() const;
  void ChooseAudio(int id);
  double Speed() const;
  void ChooseSpeed(double rate);  // the nearest of kSpeeds
  void StepSpeed(int steps);
  void SaveFrame();

 private:
  class ScratchFolder;

  void OnChange(PlayerChange change);
  void Opened();
  bool AddSidecars();
  void RestoreTracks();
  // Links are followed for a file the user named, not for one found.
  bool AddSubtitle(const std::filesystem::path& path, bool select, LinkRule links);
  void Remember();
  void ReportTracks();
  void Report(const std::string& what, const std::string& detail) const;

  MediaChoicesPorts ports_;
  MediaChoicesConfig config_;
  TrackMemory memory_;
  std::unique_ptr<ScratchFolder> scratch_;
  std::string item_;
  TrackChoice choice_;
  // The file each added subtitle was read from, by the path the player got.
  std::map<std::string, std::string> sources_;
  std::vector<MediaTrack> reported_;
  int copies_ = 0;
};

}  // namespace taviro
