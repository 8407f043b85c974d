#include "linux/system/line_socket.h"

#include <sys/socket.h>

namespace taviro {

bool PeerIsUser(int fd, uid_t uid) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == uid;
}

std::optional<std::string> ReceiveLine(int fd, std::size_t limit, SteadyDeadline deadline) {
  std::string line;
  char c = 0;
  while (line.size() < limit) {
    if (!ReceiveExactly(fd, &c, 1, deadline)) return std::nullopt;
    line += c;
    if (c == '\n') return line;
  }
  return std::nullopt;
}

}  // namespace taviro
