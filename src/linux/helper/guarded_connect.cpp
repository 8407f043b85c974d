#include "linux/helper/guarded_connect.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>

namespace taviro::helper {
namespace {

std::optional<NetEndpoint> EndpointOf(const sockaddr* address) {
  NetEndpoint endpoint;
  if (address->sa_family == AF_INET) {
    sockaddr_in v4{};
    std::memcpy(&v4, address, sizeof v4);
    std::memcpy(endpoint.address.data(), &v4.sin_addr, 4);
    endpoint.port = ntohs(v4.sin_port);
    return endpoint;
  }
  if (address->sa_family == AF_INET6) {
    sockaddr_in6 v6{};
    std::memcpy(&v6, address, sizeof v6);
    endpoint.v6 = true;
    std::memcpy(endpoint.address.data(), &v6.sin6_addr, 16);
    endpoint.port = ntohs(v6.sin6_port);
    return endpoint;
  }
  return std::nullopt;
}

curl_socket_t OpenGuarded(void* data, curlsocktype purpose, curl_sockaddr* address) {
  auto* guard = static_cast<ConnectGuard*>(data);
  const std::optional<NetEndpoint> endpoint = EndpointOf(&address->addr);
  if (purpose != CURLSOCKTYPE_IPCXN || !endpoint || !guard->rule->Permits(*endpoint)) {
    guard->refused = true;
    return CURL_SOCKET_BAD;
  }
  return ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
}

}  // namespace

void GuardConnections(CURL* curl, ConnectGuard& guard) {
  curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, &OpenGuarded);
  curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, &guard);
}

std::optional<NetEndpoint> PeerOf(CURL* curl) {
  char* ip = nullptr;
  long port = 0;
  if (curl_easy_getinfo(curl, CURLINFO_PRIMARY_IP, &ip) != CURLE_OK || ip == nullptr ||
      curl_easy_getinfo(curl, CURLINFO_PRIMARY_PORT, &port) != CURLE_OK) {
    return std::nullopt;
  }
  NetEndpoint endpoint;
  endpoint.port = static_cast<std::uint16_t>(port);
  if (::inet_pton(AF_INET, ip, endpoint.address.data()) == 1) return endpoint;
  endpoint.v6 = true;
  if (::inet_pton(AF_INET6, ip, endpoint.address.data()) == 1) return endpoint;
  return std::nullopt;
}

}  // namespace taviro::helper
