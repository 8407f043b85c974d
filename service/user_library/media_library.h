#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "library/library_view.h"
#include "user_library/library_places.h"

namespace taviro::demo {

using catalogue::IndexedFile;
using catalogue::LibraryFolder;
using catalogue::LibraryProgress;
using catalogue::LibraryTitle;
using catalogue::LibraryView;
using catalogue::WatchedFolder;

class FolderMonitor;
class LibraryIndex;

// The user's media folders made into catalogue titles: scanned and probed
// on a worker thread, kept in the lasting index, watched for changes. Every
// member may be called from any thread.
class MediaLibrary {
 public:
  // `published` is called on the worker thread with each new view.
  MediaLibrary(LibraryPlaces places, std::vector<std::string> fixed_folders,
               std::function<void(std::shared_ptr<const LibraryView>)> published);
  MediaLibrary(const MediaLibrary&) = delete;
  MediaLibrary& operator=(const MediaLibrary&) = delete;
  ~MediaLibrary();

  LibraryProgress Progress() const;
  // A folder the user adds from the page, kept in the settings file; false
  // when it is no folder or is watched already.
  bool AddFolder(const std::string& path);
  // Only folders the page added (kept ones) can be removed there.
  bool RemoveFolder(const std::string& path);

 private:
  struct Root {
    std::size_t key = 0;
    WatchedFolder watched;
    LibraryFolder contents;
  };

  void Work();
  void ShowIndexed();
  void Rescan(std::size_t key);
  // False when it was cut short by a change or the end.
  bool ProbePending();
  // Frames are made only once the probes are done, so that titles come first.
  void MakePosters(LibraryView& view, const std::vector<LibraryFolder>& folders, bool make_frames);
  void Publish(bool make_frames);
  void MarkDirty(std::size_t key);
  bool SaveKeptFolders();
  std::size_t AddRoot(const std::string& path, bool kept);

  const LibraryPlaces places_;
  const std::function<void(std::shared_ptr<const LibraryView>)> published_;
  std::unique_ptr<LibraryIndex> index_;  // the worker's only

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<Root> roots_;
  std::set<std::size_t> dirty_;
  std::size_t next_key_ = 0;
  bool stopping_ = false;
  std::atomic<bool> stop_scan_ = false;

  // The worker's own: files waiting for a probe.
  std::vector<std::pair<std::size_t, std::int64_t>> pending_probes_;
  // Poster frames that could not be made, not tried again this run.
  std::set<std::string> failed_posters_;

  std::atomic<bool> scanning_ = false;
  std::atomic<long> files_seen_ = 0;
  std::atomic<long> probed_ = 0;
  std::atomic<long> to_probe_ = 0;

  std::unique_ptr<FolderMonitor> monitor_;
  std::thread worker_;
};

}  // namespace taviro::demo
