#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "helper/helper_protocol.h"
#include "linux/helper/helper_item.h"
#include "linux/helper/name_reservation.h"
#include "linux/helper/save_folder.h"

namespace taviro::helper {

// An item as the server finds it: by the secret token in its address.
struct ServedItem {
  std::shared_ptr<HelperItem> item;
  std::string token;
  std::string name;
};

// The helper's items, by what they are (their source), each saved under
// a name reserved for it alone; no item touches another's files.
class Terminal {
 public:
  Terminal(std::string save_folder, bool debug) : save_folder_(std::move(save_folder)), debug_(debug) {}

  // Starts (or finds) the item of a request; nothing when the address names
  // no safe file name or cannot be fetched. `error` says why.
  std::optional<ServedItem> Open(const HelperRequest& request, std::string& error);
  std::optional<ServedItem> FindByToken(const std::string& token);
  // Nothing for an address no request has opened since the helper started.
  std::optional<HelperStatus> Status(const HelperRequest& request);
  void StopAll();

 private:
  // The wished name or a numbered one, recorded for `key`; empty when all
  // are taken.
  std::string ReserveLocked(const std::string& key, const NameWish& wish);

  std::string save_folder_;
  bool debug_;
  std::mutex mutex_;
  std::shared_ptr<const SaveFolder> folder_;
  std::map<std::string, ServedItem> items_;      // by source key
  std::map<std::string, std::string> reserved_;  // source key by saved name
};

}  // namespace taviro::helper
