#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "helper/byte_ranges.h"
#include "helper/helper_protocol.h"
#include "helper/transfer_rules.h"
#include "linux/helper/save_folder.h"
#include "util/unique_fd.h"

namespace taviro::helper {

// The names an item's files take in its save folder.
struct ItemFiles {
  std::shared_ptr<const SaveFolder> folder;
  std::string final_name;
  std::string partial_name;
  std::string ranges_name;
};

// One network item on its way to disk: a transfer thread fetches what is
// missing into the partial file (from where the player reads first); a
// keeper thread hands the bytes to the disk, saves the ranges list and
// renames the file to its final name once it is whole, so that the
// transfer never waits on the disk; readers wait for bytes.
class ItemDownload {
 public:
  // Makes the written bytes of a file durable; false when the disk refused.
  using SyncFile = std::function<bool(int fd)>;

  // `source_key`: what the item is, whatever its file is named; files in
  // the save folder saved for another key are not this item's.
  // `known_size`: the size a qvod link promises; the source and a finished
  // file must agree. `sync`: fdatasync unless a test holds the disk up.
  ItemDownload(std::string source_url, std::string source_key, ItemFiles files,
               std::optional<std::int64_t> known_size, bool debug, SyncFile sync = {});
  ItemDownload(const ItemDownload&) = delete;
  ItemDownload& operator=(const ItemDownload&) = delete;
  ~ItemDownload();

  // False, saying why, when the file under the item's name is another
  // item's. The partial file is made with the first byte that arrives.
  bool Start(std::string& error);
  // Ends the transfer and saves which ranges are on disk.
  void Stop();

  std::optional<std::int64_t> WaitForSize(std::chrono::milliseconds limit);
  // How many bytes from `offset` (at most `most`) are on disk, waiting up to
  // `limit` for the first of them; 0 when none came or the transfer gave up.
  std::int64_t WaitForBytes(std::int64_t offset, std::int64_t most, std::chrono::milliseconds limit);
  bool ReadAt(std::int64_t offset, char* out, std::int64_t size) const;
  HelperStatus Status();
  bool Failed();

 private:
  enum class FetchEnd { kDone, kMoved, kFailed, kStopped, kRefused };
  void Run();
  // The keeper thread's loop.
  void Keep();
  FetchEnd Fetch(std::int64_t start);
  std::size_t OnBody(const char* data, std::size_t size);
  // Creates the partial file; only the transfer thread calls it.
  bool MakeFile();
  bool OnHeaders(long status, std::int64_t start);
  bool ShouldAbortLocked() const;
  // The text of the ranges file as the list stands.
  std::optional<std::string> RangesTextLocked();
  // Writes it once the bytes it names are on disk; only the keeper calls it.
  void SaveRanges(const std::string& text);
  void Finish();
  void Log(const std::string& text) const;

  friend struct TransferCallbacks;

  const std::string source_url_;
  const std::string source_key_;
  const ItemFiles files_;
  const std::optional<std::int64_t> known_size_;
  const bool debug_;
  const SyncFile sync_;
  UniqueFd file_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  ByteRanges present_;
  std::optional<std::int64_t> total_;
  std::int64_t reader_offset_ = 0;
  std::int64_t write_at_ = 0;
  bool headers_seen_ = false;
  bool move_ = false;
  bool stop_ = false;
  bool failed_ = false;
  bool finished_ = false;
  bool write_failed_ = false;
  // What the keeper is woken for: all bytes there, stopping, written bytes
  // to hand to the disk; and whether the list changed since its last save.
  std::condition_variable keeper_wake_;
  bool complete_ = false;
  bool keeper_stop_ = false;
  bool hint_due_ = false;
  bool ranges_changed_ = false;
  std::int64_t unhinted_ = 0;
  RateMeter rate_;
  std::thread worker_;
  std::thread keeper_;
};

}  // namespace taviro::helper
