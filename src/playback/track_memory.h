#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <variant>

namespace taviro {

// The subtitle the user chose for an item: none, a track of the file, or a
// subtitle file (by the path the user knows it by).
struct SubtitlesOff {
  bool operator==(const SubtitlesOff&) const = default;
};
struct SubtitleTrack {
  int id = 0;
  bool operator==(const SubtitleTrack&) const = default;
};
struct SubtitleFile {
  std::string path;
  bool operator==(const SubtitleFile&) const = default;
};
using SubtitleChoice = std::variant<SubtitlesOff, SubtitleTrack, SubtitleFile>;

// What the user chose for one item; nothing where the player's own choice
// stands.
struct TrackChoice {
  std::optional<SubtitleChoice> subtitle;
  std::optional<int> audio;
  bool operator==(const TrackChoice&) const = default;
};

// The choices per media address, in a file of their own: one line per item,
// "address|subtitle|audio", the last chosen first, GB18030 with CR LF like
// the lists. The subtitle field is "off", "#" and a track id, or a file's
// path; addresses and paths are kept in the lists' local-path form, so a "|"
// or a line break in them cannot break a line.
class TrackMemory {
 public:
  static constexpr int kMaxItems = 500;

  explicit TrackMemory(std::filesystem::path file) : file_(std::move(file)) {}

  TrackChoice Recall(const std::string& address) const;
  // A failing write is dropped: the choice only lasts until the item ends.
  void Remember(const std::string& address, const TrackChoice& choice) const;

 private:
  std::filesystem::path file_;
};

}  // namespace taviro
