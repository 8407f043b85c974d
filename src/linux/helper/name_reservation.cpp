#include "linux/helper/name_reservation.h"

#include <fcntl.h>

#include <optional>
#include <vector>

#include "helper/download_name.h"
#include "helper/programme_progress.h"
#include "helper/ranges_file.h"
#include "linux/helper/programme_download.h"

namespace taviro::helper {
namespace {

std::optional<std::string> RangesSource(const std::string& text) {
  if (const std::optional<RangesFile> ranges = ParseRangesFile(text)) return ranges->source;
  if (const std::optional<ProgrammeProgress> progress = ParseProgrammeProgress(text)) return progress->source;
  return std::nullopt;
}

// What one file says of its owner: nothing there, nothing noted, or a key.
struct FileOwner {
  bool present = false;
  bool usable = true;  // a regular file of this user's, reached without a link
  std::optional<std::string> key;
};

FileOwner OwnerOf(const SaveFolder& folder, const std::string& name) {
  FileOwner owner;
  owner.present = folder.Has(name);
  if (!owner.present) return owner;
  const UniqueFd fd = folder.OpenOwned(name, O_RDONLY);
  owner.usable = fd.valid();
  if (owner.usable) owner.key = NotedSource(fd.get());
  return owner;
}

}  // namespace

NameUse FilesUse(const SaveFolder& folder, const NameWish& wish, const std::string& candidate,
                 const std::string& key) {
  bool ours = false;
  std::vector<std::string> finals{candidate};
  if (wish.programme) {
    finals = {ProgrammeDownload::SavedName(candidate, SavedContainer::kMp4),
              ProgrammeDownload::SavedName(candidate, SavedContainer::kMatroska)};
  }
  for (const std::string& name : finals) {
    const FileOwner owner = OwnerOf(folder, name);
    if (!owner.present) continue;
    if (!owner.usable || (owner.key ? *owner.key != key : !wish.unnoted_is_ours)) return NameUse::kOthers;
    ours = true;
  }
  const std::vector<std::string> files = DownloadFilesOf(candidate);
  const FileOwner partial = OwnerOf(folder, files[1]);
  if (partial.present) {
    if (!partial.usable || (partial.key && *partial.key != key)) return NameUse::kOthers;
    ours = ours || partial.key.has_value();
  }
  // Where the file system keeps no notes, the ranges list says whose the
  // partial file is; a partial file nobody claims is a leftover.
  if (const std::optional<std::string> text = folder.ReadOwned(files[2])) {
    if (const std::optional<std::string> source = RangesSource(*text)) {
      if (*source != key) return NameUse::kOthers;
      ours = true;
    }
  }
  return ours ? NameUse::kThisItems : NameUse::kFree;
}

}  // namespace taviro::helper
