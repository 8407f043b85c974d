#include "linux/helper/save_folder.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "helper/download_name.h"

namespace taviro::helper {
namespace {

constexpr mode_t kFileMode = 0644;
constexpr std::size_t kLongestKey = 4096;

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// "." name "." and six letters or digits, the form whose leftovers a
// starting helper removes.
std::string TemporaryName(const std::string& name) {
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::array<unsigned char, 6> random{};
  if (::getrandom(random.data(), random.size(), 0) != static_cast<ssize_t>(random.size())) return {};
  std::string temporary = "." + name + ".";
  for (const unsigned char c : random) temporary += kLetters[c % (sizeof kLetters - 1)];
  return temporary;
}

}  // namespace

std::shared_ptr<const SaveFolder> SaveFolder::Open(const std::string& path) {
  std::error_code ignored;  // a folder that cannot be made fails to open below
  std::filesystem::create_directories(path, ignored);
  // The folder itself is the user's choice and may be a link.
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd.valid()) return nullptr;
  return std::shared_ptr<const SaveFolder>(new SaveFolder(path, std::move(fd)));
}

UniqueFd SaveFolder::OpenOwned(const std::string& name, int flags) const {
  // O_NONBLOCK: a planted FIFO must not hold the open up.
  UniqueFd fd(::openat(fd_.get(), name.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid() ||
      info.st_nlink != 1) {
    return {};
  }
  return fd;
}

UniqueFd SaveFolder::CreateFresh(const std::string& name) const {
  // A link is removed, not followed; someone else's file in a folder that
  // protects it stays, and the create fails.
  if (::unlinkat(fd_.get(), name.c_str(), 0) != 0 && errno != ENOENT) return {};
  return UniqueFd(
      ::openat(fd_.get(), name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode));
}

std::optional<std::string> SaveFolder::ReadOwned(const std::string& name) const {
  const UniqueFd fd = OpenOwned(name, O_RDONLY);
  if (!fd.valid()) return std::nullopt;
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) return text;
    text.append(buffer, static_cast<std::size_t>(got));
  }
}

bool SaveFolder::WriteAtomically(const std::string& name, std::string_view bytes) const {
  const std::string temporary = TemporaryName(name);
  if (temporary.empty()) return false;
  UniqueFd fd(::openat(fd_.get(), temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       kFileMode));
  if (!fd.valid()) return false;
  const bool written = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
  fd.Reset();
  if (!written || !Rename(temporary, name)) {
    Remove(temporary);
    return false;
  }
  return true;
}

bool SaveFolder::Rename(const std::string& from, const std::string& to) const {
  return ::renameat(fd_.get(), from.c_str(), fd_.get(), to.c_str()) == 0;
}

void SaveFolder::Remove(const std::string& name) const {
  (void)::unlinkat(fd_.get(), name.c_str(), 0);  // a name already gone is what was wanted
}

std::optional<std::string> NotedSource(int fd) {
  std::string key(kLongestKey, '\0');
  const ssize_t size = ::fgetxattr(fd, kSourceNote, key.data(), key.size());
  if (size < 0) return std::nullopt;
  key.resize(static_cast<std::size_t>(size));
  return key;
}

void NoteSource(int fd, const std::string& key) {
  (void)::fsetxattr(fd, kSourceNote, key.data(), key.size(), 0);
}

}  // namespace taviro::helper
