#include "util/private_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace taviro {

std::optional<std::string> ReadSmallFile(const std::filesystem::path& path, std::int64_t largest,
                                         LinkRule links) {
  // Non-blocking: a FIFO put in a file's place must not hold the open up.
  const int no_follow = links == LinkRule::kRefuse ? O_NOFOLLOW : 0;
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | no_follow));
  struct stat info {};
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > largest)
    return std::nullopt;
  std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t got = 0;
  // A file that grows meanwhile is read as far as its size was.
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

UniqueFd OpenOwnFolder(const std::filesystem::path& parent, const std::string& name) {
  // The parent is the user's choice and may be a link; the folder in it is
  // not followed, since it may have been put there by someone else.
  std::error_code ignored;  // a parent that cannot be made fails to open below
  std::filesystem::create_directories(parent, ignored);
  const UniqueFd above(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!above.valid()) return {};
  if (::mkdirat(above.get(), name.c_str(), 0777) != 0 && errno != EEXIST) return {};
  UniqueFd folder(::openat(above.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat info {};
  if (!folder.valid() || ::fstat(folder.get(), &info) != 0 || info.st_uid != ::geteuid()) return {};
  return folder;
}

UniqueFd CreateNewFileIn(const UniqueFd& folder, const std::string& name) {
  return UniqueFd(
      ::openat(folder.get(), name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
}

void RemoveFileIn(const UniqueFd& folder, const std::string& name) {
  (void)::unlinkat(folder.get(), name.c_str(), 0);  // gone already is what was wanted
}

std::optional<std::string> FileNote(const std::filesystem::path& path, const char* note) {
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat info {};
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  std::string value(4096, '\0');
  const ssize_t size = ::fgetxattr(fd.get(), note, value.data(), value.size());
  if (size < 0) return std::nullopt;
  value.resize(static_cast<std::size_t>(size));
  return value;
}

}  // namespace taviro
