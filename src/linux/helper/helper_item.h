#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "helper/helper_protocol.h"
#include "helper/stream_shape.h"
#include "linux/helper/item_download.h"
#include "linux/helper/name_reservation.h"
#include "linux/helper/programme_download.h"
#include "linux/helper/save_folder.h"

namespace taviro::helper {

// Where the player is sent for an item: the helper's own file, or the
// origin for what is not one file.
struct ItemRoute {
  StreamShape shape = StreamShape::kRefused;
  std::string origin;
  std::shared_ptr<ItemDownload> file;
};

// One network item: a look at its source decides once whether it is a file
// the helper fetches and serves, a programme played at the origin and
// saved beside, or something played at the origin and never saved. The
// look runs beside the player's start, not before it.
class HelperItem {
 public:
  struct Source {
    std::string url;
    std::string key;
    std::string name;  // the name its address gives
    std::shared_ptr<const SaveFolder> folder;
    ReserveName reserve;
    bool debug = false;
    std::string service_base;  // its addresses are no other server's to reach
    std::string title;         // the catalogue's, for a programme; may be empty
  };

  // An item known to be a file (a qvod link, or one saved already).
  explicit HelperItem(std::shared_ptr<ItemDownload> file);
  explicit HelperItem(Source source);
  HelperItem(const HelperItem&) = delete;
  HelperItem& operator=(const HelperItem&) = delete;
  ~HelperItem();

  void Start();
  void Stop();
  // Nothing while the look is still going after `limit`.
  std::optional<ItemRoute> WaitForRoute(std::chrono::milliseconds limit);
  HelperStatus Status();
  bool Failed();

 private:
  void Look();
  void Log(const std::string& text) const;

  const Source source_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<ItemRoute> route_;
  std::shared_ptr<ProgrammeDownload> programme_;
  HelperProblem problem_ = HelperProblem::kNone;
  bool failed_ = false;
  std::thread looker_;
};

}  // namespace taviro::helper
