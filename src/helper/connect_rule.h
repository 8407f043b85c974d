#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace taviro::helper {

// One end of a TCP connection, as the socket layer gives it.
struct NetEndpoint {
  bool v6 = false;
  std::array<std::uint8_t, 16> address{};  // an IPv4 address in the first 4
  std::uint16_t port = 0;
  bool operator==(const NetEndpoint&) const = default;
};

// This machine, the local network and link-local addresses, in either
// family, also written as IPv4 inside IPv6: what a server elsewhere must not
// make the helper knock on.
bool IsInternalAddress(const NetEndpoint& endpoint);

// "127.0.0.1", "::1", "[::1]" or "localhost" with a port; nothing for a name
// that would have to be looked up.
std::vector<NetEndpoint> EndpointsOfHost(std::string_view host, std::uint16_t port);

// The endpoints an http(s) base address names by itself (the service's).
std::vector<NetEndpoint> EndpointsOfAddress(std::string_view address);

// Which connections a fetch of an address named by a playlist may make:
// anywhere outside this machine and its network, and inside only to the
// endpoints allowed (where the playlist itself came from, the service).
class ConnectRule {
 public:
  void Allow(const NetEndpoint& endpoint);
  bool Permits(const NetEndpoint& endpoint) const;

 private:
  std::vector<NetEndpoint> allowed_;
};

}  // namespace taviro::helper
