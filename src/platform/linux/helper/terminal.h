#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/linux/helper/item_download.h"
#include "playback/helper_protocol.h"

namespace taviro::helper {

// The helper's items, by the file they are saved to.
class Terminal {
 public:
  Terminal(std::string save_folder, bool debug) : save_folder_(std::move(save_folder)), debug_(debug) {}

  // Starts (or finds) the item of a request; nothing when the address names
  // no safe file name or cannot be fetched. `error` says why.
  std::shared_ptr<ItemDownload> Open(const HelperRequest& request, std::string& error);
  // The item saved as `name`, if it was opened.
  std::shared_ptr<ItemDownload> Find(const std::string& name);
  // Nothing for an address no request has opened since the helper started.
  std::optional<HelperStatus> Status(const std::string& address);
  void StopAll();

 private:
  std::string save_folder_;
  bool debug_;
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<ItemDownload>> items_;
};

}  // namespace taviro::helper
