#include "user_library/library_index.h"

#include <sqlite3.h>

#include <filesystem>
#include <iostream>

namespace taviro::demo {
namespace {

// Ids of the library's titles start above any the sample catalogue uses.
constexpr int kFirstTitleId = 1'000'000;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS files(id INTEGER PRIMARY KEY, path BLOB UNIQUE NOT NULL, "
    "relative TEXT NOT NULL, size INTEGER, mtime INTEGER, probed INTEGER, duration REAL, width INTEGER, "
    "height INTEGER);"
    "CREATE TABLE IF NOT EXISTS titles(id INTEGER PRIMARY KEY, key TEXT UNIQUE NOT NULL);";

struct Statement {
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &handle, nullptr); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(handle); }
  void Bind(int index, const std::string& bytes) {
    sqlite3_bind_blob(handle, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
  }
  void BindText(int index, const std::string& text) {
    sqlite3_bind_text(handle, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  std::string Blob(int column) const {
    const void* data = sqlite3_column_blob(handle, column);
    return data == nullptr ? std::string()
                           : std::string(static_cast<const char*>(data),
                                         static_cast<std::size_t>(sqlite3_column_bytes(handle, column)));
  }
  sqlite3_stmt* handle = nullptr;
};

}  // namespace

LibraryIndex::LibraryIndex(const std::string& file) {
  std::error_code ignored;  // a folder that cannot be made fails the open below
  std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ignored);
  if (sqlite3_open(file.c_str(), &db_) != SQLITE_OK) {
    std::cerr << "taviro-service: cannot open the library index " << file << "; kept in memory\n";
    sqlite3_close(db_);
    sqlite3_open(":memory:", &db_);
  }
  Execute("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
  Execute(kSchema);
}

LibraryIndex::~LibraryIndex() { sqlite3_close(db_); }

void LibraryIndex::Execute(const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
    std::cerr << "taviro-service: library index: " << (message != nullptr ? message : "error") << "\n";
  }
  sqlite3_free(message);
}

std::unordered_map<std::string, IndexedFile> LibraryIndex::FilesUnder(const std::string& root) {
  std::unordered_map<std::string, IndexedFile> files;
  Statement select(db_,
                   "SELECT id, path, relative, size, mtime, probed, duration, width, height FROM files "
                   "WHERE substr(path, 1, ?2) = ?1");
  const std::string prefix = root + "/";
  select.Bind(1, prefix);
  sqlite3_bind_int(select.handle, 2, static_cast<int>(prefix.size()));
  while (sqlite3_step(select.handle) == SQLITE_ROW) {
    IndexedFile file;
    file.id = sqlite3_column_int64(select.handle, 0);
    file.path = select.Blob(1);
    file.relative_utf8 = select.Blob(2);
    file.size = sqlite3_column_int64(select.handle, 3);
    file.mtime = sqlite3_column_int64(select.handle, 4);
    file.facts = {sqlite3_column_int(select.handle, 5) != 0, sqlite3_column_double(select.handle, 6),
                  sqlite3_column_int(select.handle, 7), sqlite3_column_int(select.handle, 8)};
    files.emplace(file.path, std::move(file));
  }
  return files;
}

void LibraryIndex::Store(IndexedFile& file) {
  Statement upsert(
      db_,
      "INSERT INTO files(path, relative, size, mtime, probed, duration, width, height) "
      "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8) ON CONFLICT(path) DO UPDATE SET "
      "relative=?2, size=?3, mtime=?4, probed=?5, duration=?6, width=?7, height=?8 RETURNING id");
  upsert.Bind(1, file.path);
  upsert.BindText(2, file.relative_utf8);
  sqlite3_bind_int64(upsert.handle, 3, file.size);
  sqlite3_bind_int64(upsert.handle, 4, file.mtime);
  sqlite3_bind_int(upsert.handle, 5, file.facts.probed ? 1 : 0);
  sqlite3_bind_double(upsert.handle, 6, file.facts.duration_seconds);
  sqlite3_bind_int(upsert.handle, 7, file.facts.width);
  sqlite3_bind_int(upsert.handle, 8, file.facts.height);
  if (sqlite3_step(upsert.handle) == SQLITE_ROW) file.id = sqlite3_column_int64(upsert.handle, 0);
}

void LibraryIndex::Forget(std::int64_t id) {
  Statement remove(db_, "DELETE FROM files WHERE id = ?1");
  sqlite3_bind_int64(remove.handle, 1, id);
  sqlite3_step(remove.handle);
}

int LibraryIndex::TitleId(const std::string& key) {
  Statement insert(db_, "INSERT INTO titles(key) VALUES(?1) ON CONFLICT(key) DO NOTHING");
  insert.BindText(1, key);
  sqlite3_step(insert.handle);
  Statement select(db_, "SELECT id FROM titles WHERE key = ?1");
  select.BindText(1, key);
  if (sqlite3_step(select.handle) != SQLITE_ROW) return 0;
  return kFirstTitleId + static_cast<int>(sqlite3_column_int64(select.handle, 0));
}

void LibraryIndex::Begin() { Execute("BEGIN"); }
void LibraryIndex::Commit() { Execute("COMMIT"); }

}  // namespace taviro::demo
