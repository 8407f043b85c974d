#include "linux/helper/control_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>

#include <cerrno>
#include <string>

namespace taviro::helper {
namespace {

constexpr std::chrono::milliseconds kStep{100};

UniqueFd Listen(const InstanceSocketAddress& address) {
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.valid()) return {};
  // Only the holder of the lock binds the file, so one already there was
  // left by a helper that died.
  if (!address.abstract()) (void)::unlink(address.file.c_str());
  if (::bind(fd.get(), address.generic(), address.length) != 0 || ::listen(fd.get(), SOMAXCONN) != 0) {
    return {};
  }
  return fd;
}

// The lock of a socket file; the folder is the user's own, but a link is
// never opened.
UniqueFd TakeLock(const InstanceSocketAddress& address) {
  const std::string path = address.file.string() + ".lock";
  UniqueFd lock(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!lock.valid()) return {};
  int result = 0;
  do {
    result = ::flock(lock.get(), LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  return result == 0 ? std::move(lock) : UniqueFd();
}

}  // namespace

ControlSocket TakeControlSocket(const InstanceSocketAddress& address, int signals,
                                std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    ControlSocket control;
    if (address.abstract()) {
      control.listener = Listen(address);
    } else if ((control.lock = TakeLock(address)).valid()) {
      control.listener = Listen(address);
      return control;
    }
    if (control.listener.valid() || std::chrono::steady_clock::now() >= deadline) return control;
    pollfd wait{signals, POLLIN, 0};
    if (::poll(&wait, 1, static_cast<int>(kStep.count())) > 0) return {};
  }
}

}  // namespace taviro::helper
