#include "linux/helper/terminal.h"

#include <fcntl.h>

#include "helper/download_name.h"
#include "helper/transfer_rules.h"
#include "util/random_token.h"

namespace taviro::helper {

std::optional<ServedItem> Terminal::Open(const HelperRequest& request, std::string& error) {
  const std::string name = MediaFileName(request.address);
  if (name.empty()) {
    error = "refused: the address names no file inside the save folder";
    return std::nullopt;
  }
  const std::optional<std::string> source = SourceAddress(request.address, request.service_base);
  if (!source) {
    error = "refused: not an address the helper fetches";
    return std::nullopt;
  }
  const std::string key = SourceKey(request.address, *source);
  std::lock_guard lock(mutex_);
  if (auto found = items_.find(key); found != items_.end() && !found->second.item->Failed())
    return found->second;
  for (auto other = items_.begin(); other != items_.end();) {
    if (!other->second.item->Holds(name) || other->first == key) {
      ++other;
    } else if (other->second.item->Failed()) {
      other = items_.erase(other);  // gone for good: its name is free again
    } else {
      error = "refused: another item is saved as " + name;
      return std::nullopt;
    }
  }
  const std::string token = RandomToken();
  if (token.empty()) {
    error = "refused: no random bytes for the item's address";
    return std::nullopt;
  }
  // The save folder is made when it is first used.
  if (!folder_) folder_ = SaveFolder::Open(save_folder_);
  if (!folder_) {
    error = "cannot write to the save folder " + save_folder_;
    return std::nullopt;
  }
  std::shared_ptr<HelperItem> item;
  const std::optional<QvodLink> link = ParseQvodLink(request.address);
  // A qvod link is a file of a promised size, and a file saved already is
  // served as it is: neither needs a look at its source.
  if (link || folder_->OpenOwned(name, O_RDONLY).valid()) {
    const std::vector<std::string> files = DownloadFilesOf(name);
    auto file =
        std::make_shared<ItemDownload>(*source, key, ItemFiles{folder_, files[0], files[1], files[2]},
                                       link ? std::optional<std::int64_t>(link->size) : std::nullopt, debug_);
    if (!file->Start(error)) return std::nullopt;
    item = std::make_shared<HelperItem>(std::move(file), name);
  } else {
    item = std::make_shared<HelperItem>(
        HelperItem::Source{*source, key, name, folder_, debug_, request.service_base});
    item->Start();
  }
  ServedItem served{item, token, name};
  items_[key] = served;
  return served;
}

std::optional<ServedItem> Terminal::FindByToken(const std::string& token) {
  std::lock_guard lock(mutex_);
  for (const auto& [key, served] : items_) {
    if (served.token == token) return served;
  }
  return std::nullopt;
}

std::optional<HelperStatus> Terminal::Status(const HelperRequest& request) {
  const std::optional<std::string> source = SourceAddress(request.address, request.service_base);
  if (!source) return std::nullopt;
  std::shared_ptr<HelperItem> item;
  {
    std::lock_guard lock(mutex_);
    const auto found = items_.find(SourceKey(request.address, *source));
    if (found == items_.end()) return std::nullopt;
    item = found->second.item;
  }
  return item->Status();
}

void Terminal::StopAll() {
  std::lock_guard lock(mutex_);
  for (auto& [key, served] : items_) served.item->Stop();
}

}  // namespace taviro::helper
