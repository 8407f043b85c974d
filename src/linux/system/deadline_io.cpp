#include "linux/system/deadline_io.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace taviro {
namespace {

// Waits until `fd` is ready for `events`, has failed or hung up; false when
// the deadline passed first.
bool WaitReady(int fd, short events, SteadyDeadline deadline) {
  for (;;) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      return false;
    }
    pollfd entry{fd, events, 0};
    const int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
    if (ready > 0) {
      return true;
    }
    if (ready < 0 && errno != EINTR) {
      return false;
    }
  }
}

}  // namespace

bool SendAll(int fd, std::string_view bytes, SteadyDeadline deadline) {
  while (!bytes.empty()) {
    if (!WaitReady(fd, POLLOUT, deadline)) {
      return false;
    }
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
        continue;
      }
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

bool ReceiveExactly(int fd, char* out, std::size_t size, SteadyDeadline deadline) {
  std::size_t got = 0;
  while (got < size) {
    if (!WaitReady(fd, POLLIN, deadline)) {
      return false;
    }
    const ssize_t read = ::recv(fd, out + got, size - got, MSG_DONTWAIT);
    if (read == 0) {
      return false;
    }
    if (read < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
        continue;
      }
      return false;
    }
    got += static_cast<std::size_t>(read);
  }
  return true;
}

}  // namespace taviro
