#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "library/library_model.h"

namespace taviro::catalogue {

struct WatchedFolder {
  std::string path;
  bool kept = false;      // from the settings file: the page may remove it
  bool readable = false;  // false until scanned, or when it cannot be read
  bool missing = false;   // not there (yet): nothing to read
};

// What the catalogue shows of the library at one moment; never changed
// once published.
struct LibraryView {
  std::vector<LibraryTitle> titles;                     // newest first
  std::unordered_map<std::int64_t, std::string> files;  // file id → path bytes
  std::unordered_map<int, std::string> posters;         // title id → picture file
  std::vector<WatchedFolder> folders;
};

struct LibraryProgress {
  bool scanning = false;
  long files_seen = 0;
  long probed = 0;
  long to_probe = 0;
};

}  // namespace taviro::catalogue
