#include "http/connection_drop.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <charconv>
#include <filesystem>
#include <string>
#include <system_error>

namespace taviro::demo {
namespace {

int PortOf(const sockaddr_storage& address) {
  if (address.ss_family == AF_INET) {
    return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
  }
  if (address.ss_family == AF_INET6) {
    return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
  }
  return -1;
}

bool Matches(int fd, int local_port, int remote_port) {
  sockaddr_storage local{};
  sockaddr_storage peer{};
  socklen_t local_size = sizeof local;
  socklen_t peer_size = sizeof peer;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &local_size) != 0) return false;
  if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peer_size) != 0) return false;
  return PortOf(local) == local_port && PortOf(peer) == remote_port;
}

}  // namespace

bool DropConnection(int local_port, int remote_port) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
    const std::string name = entry.path().filename().string();
    int fd = -1;
    auto [ptr, parse_error] = std::from_chars(name.data(), name.data() + name.size(), fd);
    if (parse_error != std::errc() || ptr != name.data() + name.size()) continue;
    if (Matches(fd, local_port, remote_port)) {
      shutdown(fd, SHUT_RDWR);
      return true;
    }
  }
  return false;
}

}  // namespace taviro::demo
