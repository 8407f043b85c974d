#pragma once

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "library/library_model.h"

namespace taviro::demo {

using catalogue::FoundMedia;
using catalogue::IndexedFile;

struct FolderScan {
  bool readable = false;  // the folder itself could be opened
  std::vector<FoundMedia> media;
  std::map<std::string, std::string> pictures;  // see LibraryFolder
  std::vector<std::string> folders;             // every folder walked, for the monitors
};

// Walks a library folder: media files by extension, poster pictures, and
// the folders. Symbolic links to folders are followed once each (a loop
// ends where it began), unreadable folders are passed over, names that are
// not UTF-8 are shown decoded as GB18030. `files_seen` counts as it goes.
FolderScan ScanFolder(const std::string& root, const std::atomic<bool>& stop, std::atomic<long>& files_seen);

bool IsMediaFileName(std::string_view name);

}  // namespace taviro::demo
