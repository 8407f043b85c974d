#include "linux/system/instance_socket_address.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>

#include "util/unique_fd.h"

namespace taviro {
namespace {

constexpr mode_t kOthersBits = S_IRWXG | S_IRWXO;

std::optional<InstanceSocketAddress> AddressAt(const std::string& path, std::size_t offset) {
  InstanceSocketAddress result;
  result.address.sun_family = AF_UNIX;
  // A file's path keeps a NUL at the end; an abstract name starts with one.
  if (offset + path.size() + 1 > sizeof(result.address.sun_path)) {
    return std::nullopt;
  }
  path.copy(result.address.sun_path + offset, path.size());
  result.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
  return result;
}

}  // namespace

std::optional<InstanceSocketAddress> AbstractInstanceAddress(const std::string& name) {
  return AddressAt(name, 1);
}

std::optional<InstanceSocketAddress> FileInstanceAddress(const std::filesystem::path& file) {
  std::optional<InstanceSocketAddress> result = AddressAt(file.string(), 0);
  if (result) {
    result->length = static_cast<socklen_t>(result->length + 1);
    result->file = file;
  }
  return result;
}

std::filesystem::path DefaultInstanceFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || runtime[0] != '/') {
    return {};
  }
  return std::filesystem::path(runtime) / "taviro";
}

bool MakePrivateFolder(const std::filesystem::path& folder, uid_t uid) {
  // A parent that others may write to could have the folder swapped under
  // us, whatever we check in it.
  struct stat parent {};
  if (::stat(folder.parent_path().c_str(), &parent) != 0 || parent.st_uid != uid ||
      (parent.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    return false;
  }
  if (::mkdir(folder.c_str(), S_IRWXU) != 0 && errno != EEXIST) {
    return false;
  }
  // Checked and closed through one descriptor, so that the folder cannot be
  // swapped for a link between the two.
  UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat info {};
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != uid) {
    return false;
  }
  return (info.st_mode & kOthersBits) == 0 || ::fchmod(fd.get(), S_IRWXU) == 0;
}

}  // namespace taviro
