#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "util/unique_fd.h"

namespace taviro::helper {

// The save folder, held open: every file in it is reached relative to the
// folder's descriptor and never through a link, since another user may
// write to the folder too (a group's folder) and plant links or files
// under the names the helper is about to use.
class SaveFolder {
 public:
  // Makes the folder when it is missing; nothing when it cannot be opened.
  static std::shared_ptr<const SaveFolder> Open(const std::string& path);

  const std::string& path() const { return path_; }

  // The file `name`, when it is a regular file of this user's with no
  // other name (no link, nobody else's, no hard link to a file elsewhere).
  UniqueFd OpenOwned(const std::string& name, int flags) const;
  // A new, empty file under `name`, in place of whatever was there; invalid
  // when something there cannot be removed.
  UniqueFd CreateFresh(const std::string& name) const;
  std::optional<std::string> ReadOwned(const std::string& name) const;
  // Replaces `name` through a temporary of its own and a rename: the name
  // is replaced, never followed.
  bool WriteAtomically(const std::string& name, std::string_view bytes) const;
  bool Rename(const std::string& from, const std::string& to) const;
  void Remove(const std::string& name) const;

 private:
  SaveFolder(std::string path, UniqueFd fd) : path_(std::move(path)), fd_(std::move(fd)) {}

  std::string path_;
  UniqueFd fd_;
};

// The key of the item a file was saved for, where the file system keeps
// such notes; nothing when none is noted.
std::optional<std::string> NotedSource(int fd);
// Only a note: a file system without them relies on the ranges file.
void NoteSource(int fd, const std::string& key);

}  // namespace taviro::helper
