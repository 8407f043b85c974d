#include "platform/linux/system/line_socket.h"

#include <sys/socket.h>
#include <sys/un.h>

#include <cerrno>
#include <cstddef>

namespace taviro {
namespace {

struct AbstractAddress {
  sockaddr_un address{};
  socklen_t length = 0;
};

std::optional<AbstractAddress> MakeAddress(const std::string& name) {
  AbstractAddress result;
  result.address.sun_family = AF_UNIX;
  if (name.empty() || name.size() + 1 > sizeof(result.address.sun_path)) return std::nullopt;
  name.copy(result.address.sun_path + 1, name.size());  // sun_path[0] NUL: abstract
  result.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  return result;
}

const sockaddr* AsSockaddr(const AbstractAddress& address) {
  return reinterpret_cast<const sockaddr*>(&address.address);
}

}  // namespace

UniqueFd ListenAbstract(const std::string& name) {
  const std::optional<AbstractAddress> address = MakeAddress(name);
  if (!address) return {};
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.valid()) return {};
  if (::bind(fd.get(), AsSockaddr(*address), address->length) != 0 || ::listen(fd.get(), SOMAXCONN) != 0) {
    return {};
  }
  return fd;
}

UniqueFd ConnectAbstract(const std::string& name) {
  const std::optional<AbstractAddress> address = MakeAddress(name);
  if (!address) return {};
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.valid()) return {};
  int result = 0;
  do {
    result = ::connect(fd.get(), AsSockaddr(*address), address->length);
  } while (result != 0 && errno == EINTR);
  if (result != 0) return {};
  return fd;
}

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
