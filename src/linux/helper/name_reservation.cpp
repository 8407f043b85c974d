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
// Only a regular file of this user's, reached without a link, is any
// item's: a link or another user's file planted in a shared folder is
// replaced when the item's own file is made, never followed.
struct FileOwner {
  bool present = false;
  std::optional<std::string> key;
};

FileOwner OwnerOf(const SaveFolder& folder, const std::string& name) {
  const UniqueFd fd = folder.OpenOwned(name, O_RDONLY);
  if (!fd.valid()) return {};
  return {true, NotedSource(fd.get())};
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
    if (owner.key ? *owner.key != key : !wish.unnoted_is_ours) return NameUse::kOthers;
    ours = true;
  }
  const std::vector<std::string> files = DownloadFilesOf(candidate);
  const FileOwner partial = OwnerOf(folder, files[1]);
  if (partial.present) {
    if (partial.key && *partial.key != key) return NameUse::kOthers;
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
