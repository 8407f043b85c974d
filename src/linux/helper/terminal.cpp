#include "linux/helper/terminal.h"

#include <fcntl.h>

#include <algorithm>
#include <vector>

#include "helper/download_name.h"
#include "helper/stream_shape.h"
#include "helper/transfer_rules.h"
#include "util/random_token.h"

namespace taviro::helper {
namespace {

// More numbered names than anyone keeps of one name.
constexpr int kMostNumbers = 1000;

}  // namespace

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
  const NameWish own{name, false, true};
  // A qvod link is a file of a promised size, and a file saved already is
  // served as it is: neither needs a look at its source.
  if (link || (folder_->OpenOwned(name, O_RDONLY).valid() &&
               FilesUse(*folder_, own, name, key) == NameUse::kThisItems)) {
    const std::string saved = ReserveLocked(key, own);
    if (saved.empty()) {
      error = "refused: no free name for " + name;
      return std::nullopt;
    }
    const std::vector<std::string> files = DownloadFilesOf(saved);
    auto file =
        std::make_shared<ItemDownload>(*source, key, ItemFiles{folder_, files[0], files[1], files[2]},
                                       link ? std::optional<std::int64_t>(link->size) : std::nullopt, debug_);
    if (!file->Start(error)) return std::nullopt;
    item = std::make_shared<HelperItem>(std::move(file));
  } else {
    const ReserveName reserve = [this, key](const NameWish& wish) {
      std::lock_guard reserving(mutex_);
      return ReserveLocked(key, wish);
    };
    item = std::make_shared<HelperItem>(HelperItem::Source{*source, key, name, folder_, reserve, debug_,
                                                           request.service_base, request.title});
    item->Start();
  }
  ServedItem served{item, token, name};
  items_[key] = served;
  return served;
}

std::string Terminal::ReserveLocked(const std::string& key, const NameWish& wish) {
  const auto finals = [&wish](const std::string& candidate) {
    if (!wish.programme) return std::vector<std::string>{candidate};
    return std::vector<std::string>{ProgrammeDownload::SavedName(candidate, SavedContainer::kMp4),
                                    ProgrammeDownload::SavedName(candidate, SavedContainer::kMatroska)};
  };
  const auto held_by_other = [&](const std::string& name) {
    const auto reserved = reserved_.find(name);
    if (reserved == reserved_.end() || reserved->second == key) return false;
    const auto holder = items_.find(reserved->second);
    // An item that failed for good leaves its name, but never its files.
    return holder != items_.end() && !holder->second.item->Failed();
  };
  for (int number = 1; number <= kMostNumbers; ++number) {
    std::string candidate = number == 1 ? wish.name : NumberedName(wish.name, number);
    const std::vector<std::string> names = finals(candidate);
    if (std::any_of(names.begin(), names.end(), held_by_other)) continue;
    if (FilesUse(*folder_, wish, candidate, key) == NameUse::kOthers) continue;
    for (const std::string& name : names) reserved_[name] = key;
    return candidate;
  }
  return {};
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
  std::vector<std::shared_ptr<HelperItem>> items;
  {
    std::lock_guard lock(mutex_);
    for (auto& [key, served] : items_) items.push_back(served.item);
  }
  // Outside the lock: an item's look may be waiting for it to reserve a name.
  for (const auto& item : items) item->Stop();
}

}  // namespace taviro::helper
