#include "http/parent_link.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace taviro::demo {

ParentLink::~ParentLink() { ::close(fd_); }

bool ParentLink::Tell(const std::string& base_url) const {
  const std::string line = base_url + "\n";
  std::size_t sent = 0;
  while (sent < line.size()) {
    const ssize_t now = ::send(fd_, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (now < 0 && errno == EINTR) continue;
    if (now <= 0) return false;
    sent += static_cast<std::size_t>(now);
  }
  return true;
}

void ParentLink::WaitForParentToGo() const {
  char ignored[64];
  for (;;) {
    pollfd wait{fd_, POLLIN, 0};
    if (::poll(&wait, 1, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    // The program sends nothing; end of file, a hang-up or an error all
    // mean its end is closed.
    const ssize_t got = ::recv(fd_, ignored, sizeof ignored, MSG_DONTWAIT);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) return;
  }
}

void ParentLink::Release() const { ::shutdown(fd_, SHUT_RDWR); }

}  // namespace taviro::demo
