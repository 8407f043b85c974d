#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace taviro::helper {

// One TCP connection on this machine, as its client's socket sees it:
// the client's own IPv4 address and port, and the server's. Addresses in
// network byte order, ports as numbers.
struct ClientSocket {
  std::array<std::uint8_t, 4> client_address{};
  std::uint16_t client_port = 0;
  std::array<std::uint8_t, 4> server_address{};
  std::uint16_t server_port = 0;
};

// The kernel's socket-diagnosis netlink messages for one such socket: the
// request that looks up exactly that socket, asked as an IPv4 socket or as
// an IPv6 socket holding IPv4-mapped addresses, and the owner read from the
// answer. The kernel answers in its own byte order, which is this
// machine's.
inline constexpr std::uint8_t kFamilyInet = 2;
inline constexpr std::uint8_t kFamilyInet6 = 10;
inline constexpr std::uint16_t kSockDiagByFamily = 20;

std::vector<std::uint8_t> SocketLookupRequest(const ClientSocket& socket, std::uint8_t family,
                                              std::uint32_t sequence);

// The user owning the socket, from the kernel's answer to the request of
// `sequence`. Nothing unless an answer names exactly that socket with a
// live owner (a socket the client has already closed has none), nor when
// answers disagree.
std::optional<std::uint32_t> SocketOwnerFromReply(std::span<const std::uint8_t> reply,
                                                  const ClientSocket& socket, std::uint32_t sequence);

}  // namespace taviro::helper
