#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "library/catalogue_model.h"

namespace taviro::catalogue {

// What probing a media file found; a file that could not be read keeps
// `probed` with no duration, so that it is not probed again until it changes.
struct MediaFacts {
  bool probed = false;
  double duration_seconds = 0;
  int width = 0;
  int height = 0;
};

// One media file as the index knows it. `path` is the file's own bytes, by
// which it is opened; `relative_utf8` is what is shown and grouped.
struct IndexedFile {
  std::int64_t id = 0;
  std::string path;
  std::string relative_utf8;
  std::int64_t size = 0;
  std::int64_t mtime = 0;
  MediaFacts facts;
};

// A file found on disk by a scan.
struct FoundMedia {
  std::string path;
  std::string relative_utf8;
  std::int64_t size = 0;
  std::int64_t mtime = 0;
};

// The index's rule: a file whose size and modification time are what the
// index recorded keeps its facts; anything else is probed again.
bool KnownUnchanged(const IndexedFile& known, const FoundMedia& found);

// One library folder's files, as the catalogue is built from them.
struct LibraryFolder {
  std::string root;  // the folder as the user named it
  std::vector<IndexedFile> files;
  // Picture files named poster/folder/cover, by the relative UTF-8 folder
  // they lie in ("" for the root itself).
  std::map<std::string, std::string> pictures;
};

// What the catalogue shows of one title beyond its series entry.
struct LibraryTitle {
  Series series;
  std::int64_t newest_mtime = 0;
  std::size_t episode_count = 0;
  std::int64_t first_file = 0;  // whose frame stands in for a poster
  std::string picture;          // a poster file beside the media, if any
};

// Assigns a lasting id to a title key (the same key, the same id).
using TitleIdSource = std::function<int(const std::string& key)>;

// Groups each folder's files into titles: a series per grouped title, with
// one source per season, the episodes playing from the service by file id;
// newest first.
std::vector<LibraryTitle> BuildLibraryTitles(const std::vector<LibraryFolder>& folders,
                                             const TitleIdSource& title_id);

// "library/ID.ext": where a file is served under the service's player folder.
std::string LibraryMediaName(const IndexedFile& file);

}  // namespace taviro::catalogue
