#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "library/library_model.h"

struct sqlite3;

namespace taviro::demo {

using catalogue::FoundMedia;
using catalogue::IndexedFile;
using catalogue::MediaFacts;

// The lasting index of the library's files on SQLite, keyed by the file's
// path bytes; a file's id and a title's id stay what they were across
// restarts. Used from one thread.
class LibraryIndex {
 public:
  // An index that cannot be opened is kept in memory for this run.
  explicit LibraryIndex(const std::string& file);
  LibraryIndex(const LibraryIndex&) = delete;
  LibraryIndex& operator=(const LibraryIndex&) = delete;
  ~LibraryIndex();

  // Every file recorded under `root`, by path.
  std::unordered_map<std::string, IndexedFile> FilesUnder(const std::string& root);
  // Records a file (new or changed); fills in its id.
  void Store(IndexedFile& file);
  void Forget(std::int64_t id);
  int TitleId(const std::string& key);

  // Writes between these go to disk together.
  void Begin();
  void Commit();

 private:
  void Execute(const char* sql);
  sqlite3* db_ = nullptr;
};

}  // namespace taviro::demo
