#include "playback/media_choices.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "playback/subtitle_text.h"
#include "ports/clock.h"
#include "ports/file_dialog.h"
#include "ports/player_control.h"
#include "ports/tray_icon.h"
#include "util/file_io.h"
#include "util/folder_listing.h"
#include "window/tray_controller.h"

namespace taviro {
namespace {

constexpr const char* kSubtitleDialogTitle = "加载字幕文件";
constexpr const char* kSubtitleFilter = "字幕文件|*.srt;*.ass;*.ssa;*.vtt|所有文件|*.*";
constexpr std::string_view kFrameSavedText = "截图已保存：";
constexpr std::string_view kFrameFailedText = "截图失败";
// Far above any subtitle file, fonts and all; read on the main thread.
constexpr std::int64_t kLargestSubtitle = 64 * 1024 * 1024;
// More screenshots than anyone takes in one second.
constexpr int kMostFramesASecond = 1000;

std::string_view KindName(TrackKind kind) {
  switch (kind) {
    case TrackKind::kVideo: return "video";
    case TrackKind::kAudio: return "audio";
    case TrackKind::kSubtitle: return "sub";
  }
  return "";
}

std::string TwoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

std::string FrameFileStem(const LocalDateTime& now) {
  return "Taviro-" + std::to_string(now.year) + TwoDigits(now.month) + TwoDigits(now.day) + "-" +
         TwoDigits(now.hour) + TwoDigits(now.minute) + TwoDigits(now.second);
}

// One line per value, so the log keeps its one-line-per-event form.
std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  std::replace(text.begin(), text.end(), '\r', ' ');
  return text;
}

}  // namespace

// Where subtitle files in other encodings are kept as UTF-8 copies for the
// player; gone with the program.
class MediaChoices::ScratchFolder {
 public:
  ScratchFolder() {
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / "taviro-subtitles-XXXXXX").string();
    if (!error && mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;  // a folder left in the temporary folder harms nobody
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

MediaChoices::MediaChoices(MediaChoicesPorts ports, MediaChoicesConfig config)
    : ports_(ports), config_(std::move(config)), memory_(config_.memory_file) {
  ports_.extras.SetChangeHandler([this](PlayerChange change) { OnChange(change); });
}

MediaChoices::~MediaChoices() { ports_.extras.SetChangeHandler(nullptr); }

bool MediaChoices::HasItem() const { return !ports_.player.Url().empty(); }

std::vector<MediaTrack> MediaChoices::Tracks(TrackKind kind) const {
  std::vector<MediaTrack> tracks = ports_.extras.Tracks();
  std::erase_if(tracks, [kind](const MediaTrack& track) { return track.kind != kind; });
  return tracks;
}

std::string MediaChoices::SourceFile(const MediaTrack& track) const {
  if (track.file.empty()) return {};
  const auto source = sources_.find(track.file);
  return source != sources_.end() ? source->second : track.file;
}

void MediaChoices::OnChange(PlayerChange change) {
  switch (change) {
    case PlayerChange::kOpened: Opened(); break;
    case PlayerChange::kTracks: ReportTracks(); break;
    case PlayerChange::kSpeed: {
      char text[16];
      std::snprintf(text, sizeof text, "%g", ports_.extras.Speed());
      Report("speed", text);
      break;
    }
    case PlayerChange::kSubtitle: {
      const std::string text = ports_.extras.SubtitleText();
      if (!text.empty()) Report("subtitle", OneLine(text));
      break;
    }
  }
}

// Subtitle files beside a local video come first, so that the user's choice
// (a track of the video, another file, none) can then override them.
void MediaChoices::Opened() {
  item_ = ports_.player.Url();
  choice_ = memory_.Recall(item_);
  reported_.clear();
  sources_.clear();
  const auto* chosen_file = choice_.subtitle ? std::get_if<SubtitleFile>(&*choice_.subtitle) : nullptr;
  const bool chosen_file_added = AddSidecars();
  if (chosen_file != nullptr && !chosen_file_added) AddSubtitle(chosen_file->path, true, LinkRule::kFollow);
  RestoreTracks();
  ReportTracks();
}

// The first is shown unless the user chose otherwise; whether the file the
// user chose is among them.
bool MediaChoices::AddSidecars() {
  if (!item_.starts_with('/')) return false;
  const auto* chosen_file = choice_.subtitle ? std::get_if<SubtitleFile>(&*choice_.subtitle) : nullptr;
  bool chosen_file_added = false;
  const std::filesystem::path video(item_);
  std::vector<std::string> names;
  ListFolderFiles(video.parent_path(), names, "*.*");
  bool first = true;
  for (const std::string& name : SidecarSubtitles(video.filename().string(), names)) {
    const std::filesystem::path path = video.parent_path() / name;
    const bool is_chosen = chosen_file != nullptr && chosen_file->path == path.string();
    chosen_file_added = chosen_file_added || is_chosen;
    if (AddSubtitle(path, is_chosen || (first && !choice_.subtitle), LinkRule::kRefuse)) first = false;
  }
  return chosen_file_added;
}

// A remembered track that this file no longer has leaves the player's own
// choice alone.
void MediaChoices::RestoreTracks() {
  if (choice_.subtitle && std::holds_alternative<SubtitlesOff>(*choice_.subtitle)) {
    ports_.extras.SelectTrack(TrackKind::kSubtitle, 0);
  }
  const std::vector<MediaTrack> tracks = ports_.extras.Tracks();
  const auto has = [&tracks](TrackKind kind, int id) {
    return std::any_of(tracks.begin(), tracks.end(),
                       [&](const MediaTrack& track) { return track.kind == kind && track.id == id; });
  };
  if (const auto* track = choice_.subtitle ? std::get_if<SubtitleTrack>(&*choice_.subtitle) : nullptr) {
    if (has(TrackKind::kSubtitle, track->id)) ports_.extras.SelectTrack(TrackKind::kSubtitle, track->id);
  }
  if (choice_.audio && has(TrackKind::kAudio, *choice_.audio)) {
    ports_.extras.SelectTrack(TrackKind::kAudio, *choice_.audio);
  }
}

// UTF-8 files go to the player as they are; others as a UTF-8 copy, since
// the player's own guess takes GBK for Cyrillic.
bool MediaChoices::AddSubtitle(const std::filesystem::path& path, bool select, LinkRule links) {
  const std::optional<std::string> bytes = ReadSmallFile(path, kLargestSubtitle, links);
  if (!bytes) return false;
  const std::string title = path.filename().string();
  std::string given = path.string();
  if (GuessTextEncoding(*bytes) != TextEncoding::kUtf8) {
    if (!scratch_) scratch_ = std::make_unique<ScratchFolder>();
    if (scratch_->path().empty()) return false;
    const std::filesystem::path copy = scratch_->path() / (std::to_string(++copies_) + "-" + title);
    if (!WriteFileAtomically(copy, SubtitleTextAsUtf8(*bytes))) return false;
    given = copy.string();
  }
  sources_[given] = path.string();
  ports_.extras.AddSubtitleFile(given, title, select);
  return true;
}

void MediaChoices::ChooseSubtitle(int id) {
  if (!HasItem()) return;
  ports_.extras.SelectTrack(TrackKind::kSubtitle, id);
  choice_.subtitle = SubtitlesOff{};
  for (const MediaTrack& track : Tracks(TrackKind::kSubtitle)) {
    if (track.id != id) continue;
    const std::string file = SourceFile(track);
    choice_.subtitle = file.empty() ? SubtitleChoice{SubtitleTrack{id}} : SubtitleChoice{SubtitleFile{file}};
  }
  Remember();
}

void MediaChoices::LoadSubtitleFile() {
  if (!HasItem()) return;
  const std::optional<std::string> path = ports_.files.ChooseMediaFile(kSubtitleDialogTitle, kSubtitleFilter);
  if (!path || !AddSubtitle(*path, true, LinkRule::kFollow)) return;
  choice_.subtitle = SubtitleFile{*path};
  Remember();
}

double MediaChoices::SubtitleDelay() const { return ports_.extras.SubtitleDelay(); }

void MediaChoices::ShiftSubtitleDelay(int steps) {
  if (!HasItem()) return;
  // Whole tenths, so that repeated steps never drift.
  const double tenths = std::round(SubtitleDelay() / kSubtitleDelayStep) + steps;
  ports_.extras.SetSubtitleDelay(tenths * kSubtitleDelayStep);
  char text[16];
  std::snprintf(text, sizeof text, "%.1f", tenths * kSubtitleDelayStep);
  Report("subtitle-delay", text);
}

void MediaChoices::ChooseAudio(int id) {
  if (!HasItem()) return;
  ports_.extras.SelectTrack(TrackKind::kAudio, id);
  choice_.audio = id;
  Remember();
}

double MediaChoices::Speed() const { return ports_.extras.Speed(); }

void MediaChoices::ChooseSpeed(double rate) {
  const auto nearest = std::min_element(kSpeeds.begin(), kSpeeds.end(), [rate](double a, double b) {
    return std::abs(a - rate) < std::abs(b - rate);
  });
  ports_.extras.SetSpeed(*nearest);
}

void MediaChoices::StepSpeed(int steps) {
  const double now = Speed();
  const auto nearest = std::min_element(kSpeeds.begin(), kSpeeds.end(), [now](double a, double b) {
    return std::abs(a - now) < std::abs(b - now);
  });
  const auto index =
      std::clamp<std::ptrdiff_t>(nearest - kSpeeds.begin() + steps, 0, std::ssize(kSpeeds) - 1);
  ports_.extras.SetSpeed(kSpeeds[static_cast<std::size_t>(index)]);
}

void MediaChoices::SaveFrame() {
  if (!HasItem()) return;
  // Neither the folder nor the file is reached through a link, and the
  // file is new: someone else may have put either in the way.
  auto folder = std::make_shared<UniqueFd>(OpenOwnFolder(config_.pictures_folder, "Taviro"));
  const std::string stem = FrameFileStem(ports_.clock.Now());
  UniqueFd made;
  std::string name;
  for (int n = 1; folder->valid() && !made.valid() && n <= kMostFramesASecond; ++n) {
    name = n == 1 ? stem + ".png" : stem + "-" + std::to_string(n) + ".png";
    made = CreateNewFileIn(*folder, name);
    if (!made.valid() && errno != EEXIST) break;
  }
  if (!made.valid()) {
    ShowBalloon(ports_.tray, std::string(kFrameFailedText));
    return;
  }
  auto file = std::make_shared<UniqueFd>(std::move(made));
  const std::filesystem::path path = config_.pictures_folder / "Taviro" / name;
  ports_.extras.SaveFrame(file->get(), [this, path, folder, file, name](bool written) {
    if (written) Report("screenshot", path.string());
    if (!written) RemoveFileIn(*folder, name);
    ShowBalloon(ports_.tray, written ? std::string(kFrameSavedText) + name : std::string(kFrameFailedText));
  });
}

void MediaChoices::Remember() {
  if (!item_.empty()) memory_.Remember(item_, choice_);
}

void MediaChoices::ReportTracks() {
  if (!config_.report) return;
  const std::vector<MediaTrack> tracks = ports_.extras.Tracks();
  for (TrackKind kind : {TrackKind::kVideo, TrackKind::kAudio, TrackKind::kSubtitle}) {
    const auto selected = [kind](const MediaTrack& track) { return track.kind == kind && track.selected; };
    const auto now = std::find_if(tracks.begin(), tracks.end(), selected);
    const auto before = std::find_if(reported_.begin(), reported_.end(), selected);
    const bool now_none = now == tracks.end();
    const bool before_none = before == reported_.end();
    if (now_none && before_none) continue;
    if (!now_none && !before_none && *now == *before) continue;
    std::string detail = std::string(KindName(kind)) + " ";
    if (now_none) {
      detail += "no";
    } else {
      const std::string file = SourceFile(*now);
      detail += std::to_string(now->id) + " " + (file.empty() ? OneLine(now->title) : file);
      if (!now->language.empty()) detail += " [" + now->language + "]";
    }
    Report("track", detail);
  }
  reported_ = tracks;
}

void MediaChoices::Report(const std::string& what, const std::string& detail) const {
  if (config_.report) std::fprintf(stderr, "taviro: player %s %s\n", what.c_str(), detail.c_str());
}

}  // namespace taviro
