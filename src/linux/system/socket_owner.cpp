#include "linux/system/socket_owner.h"

#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <vector>

#include "helper/socket_diag.h"
#include "util/unique_fd.h"

namespace taviro::helper {
namespace {

static_assert(kFamilyInet == AF_INET && kFamilyInet6 == AF_INET6 && kSockDiagByFamily == SOCK_DIAG_BY_FAMILY);
static_assert(sizeof(nlmsghdr) == 16 && sizeof(inet_diag_req_v2) == 56 && sizeof(inet_diag_msg) == 72);
static_assert(offsetof(inet_diag_msg, idiag_uid) == 64 && offsetof(inet_diag_msg, idiag_inode) == 68);

// The kernel answers a lookup at once; this only bounds a kernel that
// does not.
constexpr int kAnswerWaitMs = 1000;

std::optional<uid_t> Ask(const ClientSocket& socket, std::uint8_t family) {
  const UniqueFd link(::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG));
  if (!link.valid()) return std::nullopt;
  constexpr std::uint32_t kSequence = 1;  // a fresh socket hears only its own answers
  const std::vector<std::uint8_t> request = SocketLookupRequest(socket, family, kSequence);
  sockaddr_nl kernel{};
  kernel.nl_family = AF_NETLINK;
  if (::sendto(link.get(), request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&kernel),
               sizeof kernel) != static_cast<ssize_t>(request.size())) {
    return std::nullopt;
  }
  std::array<std::uint8_t, 8192> reply{};
  pollfd wait{link.get(), POLLIN, 0};
  if (::poll(&wait, 1, kAnswerWaitMs) <= 0) return std::nullopt;
  const ssize_t got = ::recv(link.get(), reply.data(), reply.size(), 0);
  if (got <= 0) return std::nullopt;
  const auto owner =
      SocketOwnerFromReply(std::span(reply.data(), static_cast<std::size_t>(got)), socket, kSequence);
  if (!owner) return std::nullopt;
  return static_cast<uid_t>(*owner);
}

std::array<std::uint8_t, 4> AddressBytes(const sockaddr_in& address) {
  std::array<std::uint8_t, 4> bytes{};
  std::memcpy(bytes.data(), &address.sin_addr.s_addr, bytes.size());
  return bytes;
}

}  // namespace

std::optional<uid_t> LoopbackClientOwner(int connection) {
  sockaddr_in peer{};
  sockaddr_in own{};
  socklen_t peer_size = sizeof peer;
  socklen_t own_size = sizeof own;
  // The server listens on IPv4 only: every client address it sees is one.
  if (::getpeername(connection, reinterpret_cast<sockaddr*>(&peer), &peer_size) != 0 ||
      ::getsockname(connection, reinterpret_cast<sockaddr*>(&own), &own_size) != 0 ||
      peer.sin_family != AF_INET || own.sin_family != AF_INET) {
    return std::nullopt;
  }
  return LoopbackClientOwner(
      ClientSocket{AddressBytes(peer), ntohs(peer.sin_port), AddressBytes(own), ntohs(own.sin_port)});
}

std::optional<uid_t> LoopbackClientOwner(const ClientSocket& socket) {
  // An IPv4 lookup finds an IPv6 socket's mapped connection as well; the
  // IPv6 form is asked too where a kernel keeps the two apart.
  if (const auto owner = Ask(socket, AF_INET)) return owner;
  return Ask(socket, AF_INET6);
}

}  // namespace taviro::helper
