#include "linux/helper/item_download.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <memory>

#include "helper/ranges_file.h"
#include "linux/helper/web_transfer.h"

namespace taviro::helper {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The ranges list is saved by time, not by bytes: on a fast source a save
// every few megabytes cost more than the transfer itself.
constexpr milliseconds kSaveEvery{1000};
// Written bytes are handed to the disk in steps of this size as they come,
// so that neither a ranges save nor the end waits for the whole file.
constexpr std::int64_t kWriteBehind = 8 * 1024 * 1024;

std::optional<std::int64_t> Number(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The total of a "Content-Range: bytes a-b/total" header.
std::optional<std::int64_t> RangeTotal(std::string_view header) {
  constexpr std::string_view kName = "content-range:";
  if (header.size() < kName.size()) return std::nullopt;
  for (std::size_t i = 0; i < kName.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(header[i])) != kName[i]) return std::nullopt;
  }
  const std::size_t slash = header.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  std::string_view total = header.substr(slash + 1);
  while (!total.empty() && (total.back() == '\r' || total.back() == '\n' || total.back() == ' ')) {
    total.remove_suffix(1);
  }
  return Number(total);
}

}  // namespace

struct TransferCallbacks {
  ItemDownload* item;
  std::int64_t start;
  std::optional<std::int64_t> range_total;
  CURL* handle;

  static std::size_t Header(char* data, std::size_t size, std::size_t count, void* self) {
    auto* callbacks = static_cast<TransferCallbacks*>(self);
    if (auto total = RangeTotal(std::string_view(data, size * count))) callbacks->range_total = total;
    return size * count;
  }
  static std::size_t Body(char* data, std::size_t size, std::size_t count, void* self) {
    auto* callbacks = static_cast<TransferCallbacks*>(self);
    ItemDownload& item = *callbacks->item;
    bool headers_seen = false;
    {
      std::lock_guard lock(item.mutex_);
      headers_seen = item.headers_seen_;
    }
    if (!headers_seen) {
      long status = 0;
      curl_easy_getinfo(callbacks->handle, CURLINFO_RESPONSE_CODE, &status);
      curl_off_t length = -1;
      curl_easy_getinfo(callbacks->handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
      std::optional<std::int64_t> total = callbacks->range_total;
      if (status == 200 && length >= 0) total = length;
      {
        std::lock_guard lock(item.mutex_);
        if (total && !item.total_) item.total_ = total;
        // A source whose size differs from the promised one is another file.
        if (!total || *total != item.total_) return 0;
      }
      if (!item.OnHeaders(status, callbacks->start)) return 0;
    }
    return item.OnBody(data, size * count);
  }
  static int Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* callbacks = static_cast<TransferCallbacks*>(self);
    std::lock_guard lock(callbacks->item->mutex_);
    return callbacks->item->ShouldAbortLocked() ? 1 : 0;
  }
};

ItemDownload::ItemDownload(std::string source_url, std::string source_key, ItemFiles files,
                           std::optional<std::int64_t> known_size, bool debug, SyncFile sync)
    : source_url_(std::move(source_url)),
      source_key_(std::move(source_key)),
      files_(std::move(files)),
      known_size_(known_size),
      debug_(debug),
      sync_(sync ? std::move(sync) : SyncFile([](int fd) { return ::fdatasync(fd) == 0; })) {
  total_ = known_size_;
}

ItemDownload::~ItemDownload() { Stop(); }

bool ItemDownload::Start(std::string& error) {
  const SaveFolder& folder = *files_.folder;
  if (UniqueFd done = folder.OpenOwned(files_.final_name, O_RDONLY); done.valid()) {
    struct stat info {};
    if (::fstat(done.get(), &info) != 0) return false;
    const std::optional<std::string> noted = NotedSource(done.get());
    if ((known_size_ && info.st_size != *known_size_) || (noted && *noted != source_key_)) {
      error = "refused: another file named " + files_.final_name + " is in the save folder";
      return false;
    }
    file_ = std::move(done);
    std::lock_guard lock(mutex_);
    total_ = info.st_size;
    present_.Add(0, info.st_size);
    finished_ = true;
    return true;
  }
  // What a former run saved, if this user saved it for this item; anything
  // else starts afresh in a new file.
  file_ = folder.OpenOwned(files_.partial_name, O_RDWR);
  const std::optional<std::string> text = folder.ReadOwned(files_.ranges_name);
  const std::optional<RangesFile> stored = text ? ParseRangesFile(*text) : std::nullopt;
  if (file_.valid() && stored && stored->source == source_key_ &&
      (!known_size_ || stored->size == *known_size_)) {
    total_ = stored->size;
    present_ = stored->present;
  } else {
    // Made with the first byte: a source that never sends one leaves
    // nothing in the folder.
    file_ = UniqueFd();
  }
  worker_ = std::thread([this] { Run(); });
  keeper_ = std::thread([this] { Keep(); });
  return true;
}

void ItemDownload::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
  // The keeper goes last, so that its final save holds every byte written.
  {
    std::lock_guard lock(mutex_);
    keeper_stop_ = true;
  }
  keeper_wake_.notify_all();
  if (keeper_.joinable()) keeper_.join();
}

std::optional<std::int64_t> ItemDownload::WaitForSize(milliseconds limit) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, limit, [this] { return total_.has_value() || failed_ || stop_; });
  return total_;
}

std::int64_t ItemDownload::WaitForBytes(std::int64_t offset, std::int64_t most, milliseconds limit) {
  std::unique_lock lock(mutex_);
  if (reader_offset_ != offset) {
    reader_offset_ = offset;
    if (!present_.Contains(offset) && headers_seen_ && ShouldMoveTransfer(write_at_, offset)) move_ = true;
  }
  changed_.notify_all();
  changed_.wait_for(lock, limit, [&] { return present_.Contains(offset) || failed_ || stop_; });
  return std::min(present_.RunEnd(offset) - offset, most);
}

bool ItemDownload::ReadAt(std::int64_t offset, char* out, std::int64_t size) const {
  while (size > 0) {
    const ssize_t read = ::pread(file_.get(), out, static_cast<std::size_t>(size), offset);
    if (read <= 0) return false;
    out += read;
    offset += read;
    size -= read;
  }
  return true;
}

HelperStatus ItemDownload::Status() {
  std::lock_guard lock(mutex_);
  const std::int64_t rate = rate_.BytesPerSecond(Clock::now());
  return {Thousandths(present_.Covered(), total_.value_or(0)),
          static_cast<int>(std::min<std::int64_t>(rate / 1024, 65535))};
}

bool ItemDownload::Failed() {
  std::lock_guard lock(mutex_);
  return failed_;
}

void ItemDownload::Run() {
  RetryPolicy retry;
  for (;;) {
    std::int64_t start = 0;
    {
      std::unique_lock lock(mutex_);
      if (stop_) break;
      if (total_) {
        const std::optional<std::int64_t> next = NextFetchStart(present_, *total_, reader_offset_);
        if (!next) {
          // An empty source still becomes an (empty) file.
          if (!file_.valid() && !MakeFile()) {
            failed_ = true;
            changed_.notify_all();
            break;
          }
          // The keeper syncs the file and gives it its final name.
          complete_ = true;
          keeper_wake_.notify_all();
          break;
        }
        start = *next;
      }
      move_ = false;
      headers_seen_ = false;
    }
    const std::int64_t covered_before = [this] {
      std::lock_guard lock(mutex_);
      return present_.Covered();
    }();
    const FetchEnd end = Fetch(start);
    std::unique_lock lock(mutex_);
    if (present_.Covered() > covered_before) retry.Progressed();
    if (end == FetchEnd::kStopped) break;
    if (end == FetchEnd::kDone || end == FetchEnd::kMoved) continue;
    const std::optional<milliseconds> delay = end == FetchEnd::kRefused ? std::nullopt : retry.NextDelay();
    if (!delay) {
      Log("giving up on " + source_url_);
      failed_ = true;
      changed_.notify_all();
      break;
    }
    Log("retrying " + source_url_ + " in " + std::to_string(delay->count()) + " ms");
    changed_.wait_for(lock, *delay, [this] { return stop_; });
  }
}

void ItemDownload::Keep() {
  std::unique_lock lock(mutex_);
  Clock::time_point next_save = Clock::now() + kSaveEvery;
  for (;;) {
    keeper_wake_.wait_until(lock, next_save, [this] { return hint_due_ || complete_ || keeper_stop_; });
    if (complete_) {
      lock.unlock();
      Finish();
      return;
    }
    if (keeper_stop_ || Clock::now() >= next_save) {
      std::optional<std::string> ranges = ranges_changed_ ? RangesTextLocked() : std::nullopt;
      ranges_changed_ = false;
      lock.unlock();
      if (ranges) SaveRanges(*ranges);
      // Counted from the save's end: a slow disk gets fewer saves, not one
      // after another.
      next_save = Clock::now() + kSaveEvery;
      lock.lock();
      // Bytes written while saving are saved once more before the end.
      if (keeper_stop_ && !ranges_changed_ && !complete_) return;
      continue;
    }
    if (hint_due_) {
      hint_due_ = false;
      lock.unlock();
      // Only a hint: the bytes are written either way, at the latest by the
      // sync before a save or the rename.
      (void)::sync_file_range(file_.get(), 0, 0, SYNC_FILE_RANGE_WRITE);
      lock.lock();
    }
  }
}

ItemDownload::FetchEnd ItemDownload::Fetch(std::int64_t start) {
  CurlHandle handle(curl_easy_init());
  if (!handle) return FetchEnd::kFailed;
  TransferCallbacks callbacks{this, start, std::nullopt, handle.get()};
  const std::string range = std::to_string(start) + "-";
  CURL* curl = handle.get();
  curl_easy_setopt(curl, CURLOPT_URL, source_url_.c_str());
  curl_easy_setopt(curl, CURLOPT_RANGE, range.c_str());
  SetWebTransferOptions(curl);
  curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 1024L * 1024L);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &TransferCallbacks::Header);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &callbacks);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &TransferCallbacks::Body);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &callbacks);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &TransferCallbacks::Progress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &callbacks);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  Log("fetching " + source_url_ + " from " + range);
  const CURLcode result = curl_easy_perform(curl);
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  std::lock_guard lock(mutex_);
  if (stop_) return FetchEnd::kStopped;
  if (move_) return FetchEnd::kMoved;
  if (result == CURLE_OK) return FetchEnd::kDone;
  // A disk that refuses the bytes is waited for like a failing source, not
  // asked again at once.
  if (write_failed_) {
    write_failed_ = false;
    Log("cannot write " + files_.partial_name);
    return FetchEnd::kFailed;
  }
  // The write callback ends a transfer that runs into bytes already there.
  if (result == CURLE_WRITE_ERROR && headers_seen_) return FetchEnd::kDone;
  // A missing file or a size that does not match is not cured by waiting.
  if ((status == 404 || status == 410) || (result == CURLE_WRITE_ERROR && !headers_seen_))
    return FetchEnd::kRefused;
  Log(std::string("transfer failed: ") + curl_easy_strerror(result));
  return FetchEnd::kFailed;
}

bool ItemDownload::OnHeaders(long status, std::int64_t start) {
  std::lock_guard lock(mutex_);
  headers_seen_ = true;
  // A source without ranges sends the whole file.
  write_at_ = status == 206 ? start : 0;
  changed_.notify_all();
  return true;
}

bool ItemDownload::MakeFile() {
  file_ = files_.folder->CreateFresh(files_.partial_name);
  if (!file_.valid()) {
    Log("cannot write to the save folder " + files_.folder->path());
    return false;
  }
  NoteSource(file_.get(), source_key_);
  return true;
}

std::size_t ItemDownload::OnBody(const char* data, std::size_t size) {
  std::int64_t at = 0;
  {
    std::lock_guard lock(mutex_);
    if (ShouldAbortLocked()) return 0;
    at = write_at_;
  }
  // Only this thread writes; readers and the keeper use the file once the
  // bytes it holds are recorded, which happens after this.
  if (!file_.valid() && !MakeFile()) {
    std::lock_guard lock(mutex_);
    write_failed_ = true;
    return 0;
  }
  const std::int64_t end =
      std::min<std::int64_t>(at + static_cast<std::int64_t>(size), total_.value_or(INT64_MAX));
  for (std::int64_t written = at; written < end;) {
    const ssize_t count =
        ::pwrite(file_.get(), data + (written - at), static_cast<std::size_t>(end - written), written);
    if (count <= 0) {
      std::lock_guard lock(mutex_);
      write_failed_ = true;
      return 0;
    }
    written += count;
  }
  std::lock_guard lock(mutex_);
  // Recorded only once written, so the list never claims more than the file.
  // Syncing and saving are the keeper's: this thread never waits on the disk.
  present_.Add(at, end);
  ranges_changed_ = true;
  write_at_ = end;
  unhinted_ += end - at;
  if (unhinted_ >= kWriteBehind) {
    unhinted_ = 0;
    hint_due_ = true;
    keeper_wake_.notify_all();
  }
  rate_.Count(end - at, Clock::now());
  changed_.notify_all();
  // Bytes already there end this transfer; the next one starts at the gap.
  const bool more = !(present_.RunEnd(write_at_) > write_at_ || (total_ && write_at_ >= *total_));
  return more ? size : 0;
}

bool ItemDownload::ShouldAbortLocked() const { return stop_ || move_; }

std::optional<std::string> ItemDownload::RangesTextLocked() {
  if (!total_) return std::nullopt;
  return FormatRangesFile(*total_, source_key_, present_);
}

void ItemDownload::SaveRanges(const std::string& text) {
  // The bytes the list names were written before it was taken and reach the
  // disk before the list does, so that not even a power cut leaves it
  // claiming bytes the file lacks. A ranges file that cannot be written costs
  // only a fresh download later.
  if (!sync_(file_.get())) return;
  (void)files_.folder->WriteAtomically(files_.ranges_name, text);
}

void ItemDownload::Finish() {
  // The bytes reach the disk before the final name does: not even a power
  // cut may leave a half-written file under it. A file the disk will not
  // take stays partial, to be finished by a later run.
  if (!sync_(file_.get())) {
    Log("cannot sync " + files_.partial_name);
    return;
  }
  if (!files_.folder->Rename(files_.partial_name, files_.final_name)) {
    std::optional<std::string> ranges;
    {
      std::lock_guard lock(mutex_);
      ranges = RangesTextLocked();
    }
    if (ranges) SaveRanges(*ranges);
    return;
  }
  files_.folder->Remove(files_.ranges_name);  // a leftover list is harmless
  std::lock_guard lock(mutex_);
  finished_ = true;
  Log("finished " + files_.folder->path() + files_.final_name);
  changed_.notify_all();
}

void ItemDownload::Log(const std::string& text) const {
  if (debug_) std::fprintf(stderr, "QvodTerminal: %s\n", text.c_str());
}

}  // namespace taviro::helper
