#include "linux/helper/programme_download.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "helper/helper_leftovers.h"
#include "linux/helper/hls_fetch.h"

namespace taviro::helper {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kSaveEvery{1000};
// Far above any real segment; a server that sends more is not serving one.
constexpr std::size_t kLargestPiece = 256 * 1024 * 1024;
constexpr std::size_t kLargestKey = 64;

}  // namespace

ProgrammeDownload::ProgrammeDownload(std::string playlist_url, std::string source_key, ItemFiles files,
                                     bool debug, ItemDownload::SyncFile sync)
    : playlist_url_(std::move(playlist_url)),
      source_key_(std::move(source_key)),
      files_(std::move(files)),
      debug_(debug),
      sync_(sync ? std::move(sync) : ItemDownload::SyncFile([](int fd) { return ::fdatasync(fd) == 0; })) {
  progress_.source = source_key_;
}

ProgrammeDownload::~ProgrammeDownload() { Stop(); }

std::string ProgrammeDownload::SavedName(const std::string& given, SavedContainer container) {
  const std::size_t dot = given.rfind('.');
  const std::string stem = (dot == std::string::npos || dot == 0) ? given : given.substr(0, dot);
  return stem + SavedExtension(container);
}

void ProgrammeDownload::AllowInside(const std::vector<NetEndpoint>& endpoints) {
  for (const NetEndpoint& endpoint : endpoints) rule_.Allow(endpoint);
}

bool ProgrammeDownload::Start(std::string& error) {
  if (!ResolveHlsAddress(playlist_url_, "")) {
    error = "refused: only http and https addresses are fetched";
    return false;
  }
  const SaveFolder& folder = *files_.folder;
  for (const SavedContainer container : {SavedContainer::kMp4, SavedContainer::kMatroska}) {
    const UniqueFd saved = folder.OpenOwned(SavedName(files_.final_name, container), O_RDONLY);
    if (!saved.valid()) continue;
    const std::optional<std::string> noted = NotedSource(saved.get());
    if (noted && *noted != source_key_) {
      error =
          "refused: another file named " + SavedName(files_.final_name, container) + " is in the save folder";
      return false;
    }
    std::lock_guard lock(mutex_);
    finished_ = true;
    return true;
  }
  // A former run's pieces, if this user saved them for this item.
  file_ = folder.OpenOwned(files_.partial_name, O_RDWR);
  const std::optional<std::string> text = folder.ReadOwned(files_.ranges_name);
  stored_ = text ? ParseProgrammeProgress(*text) : std::nullopt;
  if (!file_.valid() || !stored_ || stored_->source != source_key_) {
    stored_.reset();
    file_ = folder.CreateFresh(files_.partial_name);
    if (!file_.valid()) {
      error = "cannot write to the save folder " + folder.path();
      return false;
    }
    NoteSource(file_.get(), source_key_);
  }
  worker_ = std::thread([this] { Run(); });
  return true;
}

void ProgrammeDownload::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

HelperStatus ProgrammeDownload::Status() {
  std::lock_guard lock(mutex_);
  const int rate_kb =
      static_cast<int>(std::min<std::int64_t>(rate_.BytesPerSecond(Clock::now()) / 1024, 65535));
  if (finished_) return {1000, rate_kb};
  return {Thousandths(progress_.pieces_done, progress_.pieces_total), rate_kb};
}

bool ProgrammeDownload::Failed() {
  std::lock_guard lock(mutex_);
  return failed_;
}

void ProgrammeDownload::Run() {
  Save();
  // A new programme that failed before its first piece leaves nothing
  // behind; a former run's pieces stay for a later one.
  std::unique_lock lock(mutex_);
  if (failed_ && progress_.bytes == 0 && !stored_) {
    lock.unlock();
    files_.folder->Remove(files_.partial_name);
    files_.folder->Remove(files_.ranges_name);
  }
}

bool ProgrammeDownload::AddPieces(const HlsMediaPlaylist& media) {
  bool fragmented_mp4 = false;
  const std::optional<HlsMap>* last_map = nullptr;
  for (const HlsSegment& segment : media.segments) {
    // An initialisation section goes in once, and again where it changes.
    if (segment.map && (!last_map || *last_map != segment.map)) {
      fragmented_mp4 = true;
      const HlsKey& map_key = segment.map->key;
      std::optional<HlsKey> key;
      if (map_key.method == HlsKeyMethod::kAes128) key = map_key;
      pieces_.push_back({segment.map->url, segment.map->range, key, map_key.iv.value_or(SegmentIv(segment))});
    }
    last_map = &segment.map;
    std::optional<HlsKey> key;
    if (segment.key.method == HlsKeyMethod::kAes128) key = segment.key;
    pieces_.push_back({segment.url, segment.range, key, SegmentIv(segment)});
  }
  return fragmented_mp4;
}

void ProgrammeDownload::Save() {
  std::string audio_url;
  const std::optional<HlsMediaPlaylist> media = FetchMediaPlaylist(playlist_url_, &audio_url);
  if (!media) return;
  std::vector<RemuxSource> sources{{0, 0, AddPieces(*media)}};
  // A sound of its own follows the picture in the partial file.
  if (!audio_url.empty()) {
    const std::optional<HlsMediaPlaylist> audio = FetchMediaPlaylist(audio_url, nullptr);
    if (!audio) return;
    audio_first_piece_ = pieces_.size();
    sources.push_back({0, 0, AddPieces(*audio)});
  }
  ProgrammeProgress start{source_key_, static_cast<std::int64_t>(pieces_.size()), 0, 0, std::nullopt};
  // Pieces of another playlist are not this one's, even under the same key,
  // nor is a list that claims more than the file holds.
  struct stat info {};
  if (stored_ && stored_->pieces_total == start.pieces_total && ::fstat(file_.get(), &info) == 0 &&
      info.st_size >= stored_->bytes) {
    start = *stored_;
  }
  // Whatever follows the recorded bytes is from a piece not known whole.
  if (::ftruncate(file_.get(), start.bytes) != 0) {
    Fail("cannot write " + files_.partial_name);
    return;
  }
  {
    std::lock_guard lock(mutex_);
    progress_ = start;
  }
  if (start.pieces_done > 0) Log("resuming after piece " + std::to_string(start.pieces_done));
  Clock::time_point next_save = Clock::now() + kSaveEvery;
  bool complete = true;
  for (auto i = static_cast<std::size_t>(start.pieces_done); i < pieces_.size(); ++i) {
    const std::optional<std::string> bytes = PieceBytes(pieces_[i]);
    if (!bytes || !Append(*bytes)) {
      complete = false;
      break;
    }
    if (Clock::now() >= next_save) {
      SaveProgress();
      next_save = Clock::now() + kSaveEvery;
    }
  }
  SaveProgress();
  if (!complete || Stopped()) return;
  if (sources.size() > 1) {
    std::lock_guard lock(mutex_);
    if (!progress_.audio_at) return;
    sources[0].end = *progress_.audio_at;
    sources[1].begin = *progress_.audio_at;
  }
  Finish(sources);
}

std::optional<HlsMediaPlaylist> ProgrammeDownload::FetchMediaPlaylist(std::string url,
                                                                      std::string* audio_url) {
  HlsPlaylistTrail trail;
  for (;;) {
    if (const std::optional<HlsRefusal> refusal = trail.Enter(url)) {
      Fail(std::string(HlsRefusalText(*refusal)));
      return std::nullopt;
    }
    std::string final_url;
    const std::optional<std::string> text = FetchWithRetries(url, std::nullopt, kLargestPlaylist, &final_url);
    if (!text) return std::nullopt;
    if (final_url != url) {
      if (const std::optional<HlsRefusal> refusal = trail.RedirectedTo(final_url)) {
        Fail(std::string(HlsRefusalText(*refusal)));
        return std::nullopt;
      }
    }
    HlsPlaylist playlist = ParseHlsPlaylist(*text, final_url);
    if (const auto* refusal = std::get_if<HlsRefusal>(&playlist)) {
      Fail(std::string(HlsRefusalText(*refusal)) + ": " + final_url);
      return std::nullopt;
    }
    if (const auto* master = std::get_if<HlsMasterPlaylist>(&playlist)) {
      const HlsVariant& best = *BestVariant(*master);
      const HlsAudioRendition* audio = AudioFor(*master, best);
      if (audio && audio_url) *audio_url = audio->url;
      url = best.url;
      continue;
    }
    auto& media = std::get<HlsMediaPlaylist>(playlist);
    if (!media.ended || media.segments.empty()) {
      Fail("a live stream or an empty playlist has nothing to save: " + final_url);
      return std::nullopt;
    }
    return std::move(media);
  }
}

std::optional<std::string> ProgrammeDownload::FetchWithRetries(const std::string& url,
                                                               const std::optional<HlsByteRange>& range,
                                                               std::size_t limit, std::string* final_url) {
  RetryPolicy retry;
  for (;;) {
    FetchedBytes fetched = FetchToMemory(
        url, range, limit, [this] { return Stopped(); }, guarded_ ? &rule_ : nullptr);
    switch (fetched.outcome) {
      case FetchOutcome::kDone:
        if (final_url) *final_url = fetched.final_url;
        if (!guarded_ && fetched.peer) rule_.Allow(*fetched.peer);
        guarded_ = true;
        return std::move(fetched.body);
      case FetchOutcome::kStopped: return std::nullopt;
      case FetchOutcome::kTooLarge: Fail("too large: " + url); return std::nullopt;
      case FetchOutcome::kGone: Fail("not found: " + url); return std::nullopt;
      case FetchOutcome::kRefused: Fail("refused: a playlist may not lead here: " + url); return std::nullopt;
      case FetchOutcome::kFailed: break;
    }
    const std::optional<std::chrono::milliseconds> delay = retry.NextDelay();
    if (!delay) {
      Fail("giving up on " + url + ": " + fetched.error);
      return std::nullopt;
    }
    Log("retrying " + url + " in " + std::to_string(delay->count()) + " ms: " + fetched.error);
    std::unique_lock lock(mutex_);
    if (changed_.wait_for(lock, *delay, [this] { return stop_; })) return std::nullopt;
  }
}

std::optional<std::string> ProgrammeDownload::PieceBytes(const Piece& piece) {
  std::optional<std::string> bytes = FetchWithRetries(piece.url, piece.range, kLargestPiece, nullptr);
  if (!bytes || !piece.key) return bytes;
  auto key = keys_.find(piece.key->url);
  if (key == keys_.end()) {
    std::optional<std::string> fetched = FetchWithRetries(piece.key->url, std::nullopt, kLargestKey, nullptr);
    if (!fetched) return std::nullopt;
    key = keys_.emplace(piece.key->url, std::move(*fetched)).first;
  }
  std::optional<std::string> plain = DecryptAes128(*bytes, key->second, piece.iv);
  if (!plain) Fail("cannot decrypt " + piece.url);
  return plain;
}

bool ProgrammeDownload::Append(const std::string& bytes) {
  std::int64_t at = 0;
  {
    std::lock_guard lock(mutex_);
    at = progress_.bytes;
  }
  for (std::size_t written = 0; written < bytes.size();) {
    const ssize_t count = ::pwrite(file_.get(), bytes.data() + written, bytes.size() - written,
                                   at + static_cast<std::int64_t>(written));
    if (count <= 0) {
      Fail("cannot write " + files_.partial_name);
      return false;
    }
    written += static_cast<std::size_t>(count);
  }
  std::lock_guard lock(mutex_);
  progress_.bytes += static_cast<std::int64_t>(bytes.size());
  ++progress_.pieces_done;
  if (audio_first_piece_ > 0 && progress_.pieces_done == static_cast<std::int64_t>(audio_first_piece_))
    progress_.audio_at = progress_.bytes;
  rate_.Count(static_cast<std::int64_t>(bytes.size()), Clock::now());
  return true;
}

void ProgrammeDownload::SaveProgress() {
  std::string text;
  {
    std::lock_guard lock(mutex_);
    if (progress_.pieces_total == 0) return;
    text = FormatProgrammeProgress(progress_);
  }
  // The pieces the list names reach the disk before the list does. A list
  // that cannot be written costs only those pieces again.
  if (!sync_(file_.get())) return;
  (void)files_.folder->WriteAtomically(files_.ranges_name, text);
}

void ProgrammeDownload::Finish(const std::vector<RemuxSource>& sources) {
  const SaveFolder& folder = *files_.folder;
  std::string saved_name;
  std::string temporary;
  UniqueFd output;
  const auto create = [&](SavedContainer container) {
    saved_name = SavedName(files_.final_name, container);
    // A temporary a kill left here is replaced by the next run's.
    temporary = RemuxTemporaryName(saved_name);
    output = folder.CreateFresh(temporary);
    return output.get();
  };
  std::string error;
  const std::optional<SavedContainer> container = RemuxProgramme(
      file_.get(), sources, create, [this] { return Stopped(); }, debug_, error);
  if (!container) {
    if (!temporary.empty()) folder.Remove(temporary);
    if (!Stopped()) Fail("cannot remux " + files_.partial_name + ": " + error);
    return;
  }
  NoteSource(output.get(), source_key_);
  // The bytes reach the disk before the final name does; a disk that will
  // not take them leaves the pieces for a later run.
  if (!sync_(output.get()) || !folder.Rename(temporary, saved_name)) {
    folder.Remove(temporary);
    Log("cannot save " + saved_name);
    return;
  }
  folder.Remove(files_.partial_name);
  folder.Remove(files_.ranges_name);
  std::lock_guard lock(mutex_);
  finished_ = true;
  Log("finished " + folder.path() + saved_name);
}

void ProgrammeDownload::Fail(const std::string& why) {
  Log(why);
  std::lock_guard lock(mutex_);
  failed_ = true;
}

bool ProgrammeDownload::Stopped() {
  std::lock_guard lock(mutex_);
  return stop_;
}

void ProgrammeDownload::Log(const std::string& text) const {
  if (debug_) std::fprintf(stderr, "QvodTerminal: %s\n", text.c_str());
}

}  // namespace taviro::helper
