#include "user_library/media_library.h"

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>

#include "user_library/folder_monitor.h"
#include "user_library/folder_scan.h"
#include "user_library/library_index.h"
#include "user_library/media_probe.h"

namespace taviro::demo {
namespace {

using Clock = std::chrono::steady_clock;

// A burst of changes (a folder copied in) is taken as one.
constexpr std::chrono::milliseconds kSettle{200};
// How often the catalogue takes what probing found so far.
constexpr std::chrono::milliseconds kPublishEvery{1000};

std::string PosterCacheFile(const std::string& cache, const IndexedFile& file) {
  return cache + "/" + std::to_string(file.id) + "-" + std::to_string(file.mtime) + ".jpg";
}

// The same folder however it was written: no trailing slash, no "." parts.
std::string FolderKey(const std::string& path) {
  std::string key = std::filesystem::path(path).lexically_normal().string();
  while (key.size() > 1 && key.back() == '/') key.pop_back();
  return key;
}

}  // namespace

MediaLibrary::MediaLibrary(LibraryPlaces places, std::vector<std::string> fixed_folders,
                           std::function<void(std::shared_ptr<const LibraryView>)> published)
    : places_(std::move(places)), published_(std::move(published)) {
  const char* debug = std::getenv("TAVIRO_DEBUG");
  QuietenMediaDecoders(debug != nullptr && *debug != '\0' && *debug != '0');
  std::error_code ignored;  // no cache only means no frame posters
  std::filesystem::create_directories(places_.poster_cache, ignored);
  {
    std::lock_guard lock(mutex_);
    fixed_folders.insert(fixed_folders.begin(), places_.videos_folder);
    for (const std::string& folder : fixed_folders) AddRoot(folder, false);
    for (const std::string& folder : ReadKeptFolders(places_.settings_file)) AddRoot(folder, true);
  }
  monitor_ = std::make_unique<FolderMonitor>([this](std::size_t key) { MarkDirty(key); });
  worker_ = std::thread([this] { Work(); });
}

MediaLibrary::~MediaLibrary() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stop_scan_ = true;
  wake_.notify_all();
  worker_.join();
  monitor_.reset();
}

std::size_t MediaLibrary::AddRoot(const std::string& path, bool kept) {
  const std::string key = FolderKey(path);
  for (const Root& root : roots_) {
    if (root.watched.path == key) return root.key;
  }
  roots_.push_back({next_key_, {key, kept, false}, {key, {}, {}}});
  dirty_.insert(next_key_);
  return next_key_++;
}

LibraryProgress MediaLibrary::Progress() const { return {scanning_, files_seen_, probed_, to_probe_}; }

bool MediaLibrary::AddFolder(const std::string& path) {
  std::error_code error;
  if (path.empty() || path.front() != '/' || !std::filesystem::is_directory(path, error)) return false;
  {
    std::lock_guard lock(mutex_);
    const std::string key = FolderKey(path);
    if (std::any_of(roots_.begin(), roots_.end(),
                    [&key](const Root& root) { return root.watched.path == key; })) {
      return false;
    }
    AddRoot(key, true);
  }
  wake_.notify_all();
  return SaveKeptFolders();
}

bool MediaLibrary::RemoveFolder(const std::string& path) {
  {
    std::lock_guard lock(mutex_);
    const std::string key = FolderKey(path);
    const auto found = std::find_if(roots_.begin(), roots_.end(), [&key](const Root& root) {
      return root.watched.kept && root.watched.path == key;
    });
    if (found == roots_.end()) return false;
    monitor_->Watch(found->key, {});
    roots_.erase(found);
    dirty_.insert(SIZE_MAX);  // nothing to scan; the catalogue is made again
  }
  wake_.notify_all();
  return SaveKeptFolders();
}

bool MediaLibrary::SaveKeptFolders() {
  std::vector<std::string> kept;
  {
    std::lock_guard lock(mutex_);
    for (const Root& root : roots_) {
      if (root.watched.kept) kept.push_back(root.watched.path);
    }
  }
  return WriteKeptFolders(places_.settings_file, kept);
}

void MediaLibrary::MarkDirty(std::size_t key) {
  {
    std::lock_guard lock(mutex_);
    dirty_.insert(key);
  }
  wake_.notify_all();
}

void MediaLibrary::Work() {
  scanning_ = true;
  index_ = std::make_unique<LibraryIndex>(places_.index_file);
  ShowIndexed();
  bool first = true;
  for (;;) {
    std::set<std::size_t> keys;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !dirty_.empty(); });
      if (!first) wake_.wait_for(lock, kSettle, [this] { return stopping_; });
      if (stopping_) break;
      keys.swap(dirty_);
    }
    first = false;
    scanning_ = true;
    for (const std::size_t key : keys) Rescan(key);
    Publish(false);
    if (ProbePending()) Publish(true);
    scanning_ = false;
    // Decoding leaves freed memory behind; the service idles without it.
    malloc_trim(0);
  }
  index_.reset();
}

// What the index knew at the last run is listed at once; the walk that
// follows corrects it.
void MediaLibrary::ShowIndexed() {
  {
    std::lock_guard lock(mutex_);
    for (Root& root : roots_) {
      for (auto& [path, file] : index_->FilesUnder(root.watched.path))
        root.contents.files.push_back(std::move(file));
    }
  }
  Publish(false);
}

void MediaLibrary::Rescan(std::size_t key) {
  std::string path;
  {
    std::lock_guard lock(mutex_);
    const auto root =
        std::find_if(roots_.begin(), roots_.end(), [key](const Root& r) { return r.key == key; });
    if (root == roots_.end()) return;
    path = root->watched.path;
  }
  FolderScan scan = ScanFolder(path, stop_scan_, files_seen_);
  std::error_code error;
  const bool missing = !scan.readable && !std::filesystem::exists(path, error);
  LibraryFolder contents{path, {}, std::move(scan.pictures)};
  if (scan.readable) {
    // What the index knew of this folder and what the disk holds now: the
    // unchanged keep their facts, the rest are probed, the gone forgotten.
    std::unordered_map<std::string, IndexedFile> known = index_->FilesUnder(path);
    index_->Begin();
    for (FoundMedia& found : scan.media) {
      const auto old = known.find(found.path);
      IndexedFile file;
      if (old != known.end() && KnownUnchanged(old->second, found)) {
        file = std::move(old->second);
        if (file.relative_utf8 != found.relative_utf8) {
          file.relative_utf8 = found.relative_utf8;
          index_->Store(file);
        }
      } else {
        file = {0, found.path, found.relative_utf8, found.size, found.mtime, {}};
        index_->Store(file);
      }
      if (old != known.end()) known.erase(old);
      if (!file.facts.probed) pending_probes_.emplace_back(key, file.id);
      contents.files.push_back(std::move(file));
    }
    for (const auto& [gone_path, gone] : known) index_->Forget(gone.id);
    index_->Commit();
  } else {
    // An unmounted drive or an unreadable folder: its index entries wait
    // for it to come back, and nothing of it is listed meanwhile.
    if (!missing) {
      std::cerr << "taviro-service: library folder " << path << " cannot be read\n";
    }
  }
  monitor_->Watch(key, std::move(scan.folders));
  std::lock_guard lock(mutex_);
  const auto root = std::find_if(roots_.begin(), roots_.end(), [key](const Root& r) { return r.key == key; });
  if (root == roots_.end()) return;
  root->watched.readable = scan.readable;
  root->watched.missing = missing;
  root->contents = std::move(contents);
}

bool MediaLibrary::ProbePending() {
  to_probe_ = static_cast<long>(pending_probes_.size());
  probed_ = 0;
  // Where each file sits in its folder's list, found once: only this thread
  // replaces the lists, and a folder removed meanwhile is not found.
  std::map<std::size_t, std::unordered_map<std::int64_t, std::size_t>> positions;
  {
    std::lock_guard lock(mutex_);
    for (const Root& root : roots_) {
      auto& of_root = positions[root.key];
      for (std::size_t i = 0; i < root.contents.files.size(); ++i)
        of_root.emplace(root.contents.files[i].id, i);
    }
  }
  const auto find = [this, &positions](std::size_t key, std::int64_t id) -> IndexedFile* {
    const auto of_root = positions.find(key);
    if (of_root == positions.end()) return nullptr;
    const auto at = of_root->second.find(id);
    if (at == of_root->second.end()) return nullptr;
    for (Root& root : roots_) {
      if (root.key == key && at->second < root.contents.files.size() &&
          root.contents.files[at->second].id == id) {
        return &root.contents.files[at->second];
      }
    }
    return nullptr;
  };
  Clock::time_point last_publish = Clock::now();
  // Results go to disk a batch at a time, with each view published.
  index_->Begin();
  while (!pending_probes_.empty()) {
    std::string path;
    const auto [key, id] = pending_probes_.back();
    {
      std::lock_guard lock(mutex_);
      // A change found meanwhile is shown first; the probes go on after it.
      if (stopping_ || !dirty_.empty()) {
        index_->Commit();
        return false;
      }
      if (const IndexedFile* file = find(key, id)) path = file->path;
    }
    pending_probes_.pop_back();
    ++probed_;
    if (path.empty()) continue;  // removed before its turn
    const MediaFacts facts = ProbeMedia(path);
    {
      std::lock_guard lock(mutex_);
      if (IndexedFile* file = find(key, id)) {
        file->facts = facts;
        index_->Store(*file);
      }
    }
    if (Clock::now() - last_publish >= kPublishEvery) {
      index_->Commit();
      Publish(false);
      index_->Begin();
      last_publish = Clock::now();
    }
  }
  index_->Commit();
  return true;
}

void MediaLibrary::Publish(bool make_frames) {
  std::vector<LibraryFolder> folders;
  auto view = std::make_shared<LibraryView>();
  {
    std::lock_guard lock(mutex_);
    for (const Root& root : roots_) {
      folders.push_back(root.contents);
      view->folders.push_back(root.watched);
    }
  }
  index_->Begin();  // new titles' ids, written together
  view->titles = BuildLibraryTitles(folders, [this](const std::string& key) { return index_->TitleId(key); });
  index_->Commit();
  for (const LibraryFolder& folder : folders) {
    for (const IndexedFile& file : folder.files) view->files.emplace(file.id, file.path);
  }
  MakePosters(*view, folders, make_frames);
  published_(std::move(view));
}

// A title without a picture of its own shows a frame of its first episode,
// made once and kept in the cache.
void MediaLibrary::MakePosters(LibraryView& view, const std::vector<LibraryFolder>& folders,
                               bool make_frames) {
  std::unordered_map<std::int64_t, const IndexedFile*> by_id;
  for (const LibraryFolder& folder : folders) {
    for (const IndexedFile& file : folder.files) by_id.emplace(file.id, &file);
  }
  for (const LibraryTitle& title : view.titles) {
    if (stop_scan_) return;
    if (!title.picture.empty()) {
      view.posters.emplace(title.series.id, title.picture);
      continue;
    }
    const auto first = by_id.find(title.first_file);
    if (first == by_id.end() || !first->second->facts.probed || first->second->facts.width == 0) continue;
    const std::string cached = PosterCacheFile(places_.poster_cache, *first->second);
    std::error_code error;
    if (!std::filesystem::exists(cached, error)) {
      // Frames are made once the probes are done, so that titles come first.
      if (!make_frames || failed_posters_.contains(cached)) continue;
      if (!WritePosterFrame(first->second->path, first->second->facts.duration_seconds, cached)) {
        failed_posters_.insert(cached);
        continue;
      }
    }
    view.posters.emplace(title.series.id, cached);
  }
}

}  // namespace taviro::demo
