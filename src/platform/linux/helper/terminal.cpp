#include "platform/linux/helper/terminal.h"

#include <filesystem>
#include <system_error>

#include "helper/transfer_rules.h"
#include "playback/download_name.h"

namespace taviro::helper {

std::shared_ptr<ItemDownload> Terminal::Open(const HelperRequest& request, std::string& error) {
  const std::string name = MediaFileName(request.address);
  if (name.empty()) {
    error = "refused: the address names no file inside the save folder";
    return nullptr;
  }
  const std::optional<std::string> source = SourceAddress(request.address, request.service_base);
  if (!source) {
    error = "refused: not an address the helper fetches";
    return nullptr;
  }
  std::lock_guard lock(mutex_);
  if (auto found = items_.find(name); found != items_.end() && !found->second->Failed()) return found->second;
  // The save folder is made when it is first used.
  std::error_code ignored;
  std::filesystem::create_directories(save_folder_, ignored);
  const std::vector<std::string> files = DownloadFilesOf(name);
  std::optional<std::int64_t> size;
  if (const std::optional<QvodLink> link = ParseQvodLink(request.address)) size = link->size;
  auto item = std::make_shared<ItemDownload>(
      *source, ItemFiles{save_folder_ + files[0], save_folder_ + files[1], save_folder_ + files[2]}, size,
      debug_);
  if (!item->Start()) {
    error = "cannot write to the save folder " + save_folder_;
    return nullptr;
  }
  items_[name] = item;
  return item;
}

std::shared_ptr<ItemDownload> Terminal::Find(const std::string& name) {
  std::lock_guard lock(mutex_);
  const auto found = items_.find(name);
  return found == items_.end() ? nullptr : found->second;
}

std::optional<HelperStatus> Terminal::Status(const std::string& address) {
  const std::shared_ptr<ItemDownload> item = Find(MediaFileName(address));
  if (!item) return std::nullopt;
  return item->Status();
}

void Terminal::StopAll() {
  std::lock_guard lock(mutex_);
  for (auto& [name, item] : items_) item->Stop();
}

}  // namespace taviro::helper
