#include "helper/socket_diag.h"

#include <algorithm>
#include <cstring>

namespace taviro::helper {
namespace {

// The message forms, by offset: a netlink header, then a request (family,
// protocol, extensions, states, socket id) or an answer (family, state,
// timer, retransmits, socket id, expiry, queues, uid, inode). A socket id
// is the ports, the two addresses (16 bytes each), an interface and a
// cookie.
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kRequestSize = 56;
constexpr std::size_t kRequestIdAt = 8;
constexpr std::size_t kAnswerSize = 72;
constexpr std::size_t kAnswerIdAt = 4;
constexpr std::size_t kAnswerUidAt = 64;
constexpr std::size_t kAnswerInodeAt = 68;
constexpr std::size_t kIdSize = 48;
constexpr std::size_t kIdSourceAt = 4;
constexpr std::size_t kIdDestinationAt = 20;
constexpr std::size_t kIdCookieAt = 40;
constexpr std::uint16_t kFlagRequest = 1;
constexpr std::uint8_t kTcp = 6;
constexpr std::uint16_t kDone = 3;

template <typename T>
void Put(std::vector<std::uint8_t>& bytes, std::size_t at, T value) {
  std::memcpy(bytes.data() + at, &value, sizeof value);
}

template <typename T>
T Get(std::span<const std::uint8_t> bytes, std::size_t at) {
  T value{};
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

void PutPort(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t port) {
  bytes[at] = static_cast<std::uint8_t>(port >> 8);
  bytes[at + 1] = static_cast<std::uint8_t>(port & 0xFF);
}

// An IPv4 address as a socket id of `family` holds it.
std::array<std::uint8_t, 16> IdAddress(const std::array<std::uint8_t, 4>& address, std::uint8_t family) {
  std::array<std::uint8_t, 16> id{};
  if (family == kFamilyInet) {
    std::copy(address.begin(), address.end(), id.begin());
  } else {
    id[10] = 0xFF;
    id[11] = 0xFF;
    std::copy(address.begin(), address.end(), id.begin() + 12);
  }
  return id;
}

void PutId(std::vector<std::uint8_t>& bytes, std::size_t at, const ClientSocket& socket,
           std::uint8_t family) {
  PutPort(bytes, at, socket.client_port);
  PutPort(bytes, at + 2, socket.server_port);
  const auto source = IdAddress(socket.client_address, family);
  const auto destination = IdAddress(socket.server_address, family);
  std::copy(source.begin(), source.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at + kIdSourceAt));
  std::copy(destination.begin(), destination.end(),
            bytes.begin() + static_cast<std::ptrdiff_t>(at + kIdDestinationAt));
  // No cookie: the socket is found by its addresses alone.
  Put<std::uint32_t>(bytes, at + kIdCookieAt, ~0U);
  Put<std::uint32_t>(bytes, at + kIdCookieAt + 4, ~0U);
}

// Whether an answer's socket id names exactly the socket asked for: the
// kernel finds an IPv4 connection of an IPv6 socket by its IPv4 addresses
// and answers with the mapped ones, and falls back to a listener of the
// port when the connection is gone.
bool NamesSocket(std::span<const std::uint8_t> id, std::uint8_t family, const ClientSocket& socket) {
  if (family != kFamilyInet && family != kFamilyInet6) return false;
  std::vector<std::uint8_t> wanted(kIdSize, 0);
  PutId(wanted, 0, socket, family);
  // The interface and the cookie are the kernel's to fill in.
  return std::equal(id.begin(), id.begin() + kIdSourceAt + 32, wanted.begin());
}

}  // namespace

std::vector<std::uint8_t> SocketLookupRequest(const ClientSocket& socket, std::uint8_t family,
                                              std::uint32_t sequence) {
  std::vector<std::uint8_t> bytes(kHeaderSize + kRequestSize, 0);
  Put<std::uint32_t>(bytes, 0, static_cast<std::uint32_t>(bytes.size()));
  Put<std::uint16_t>(bytes, 4, kSockDiagByFamily);
  Put<std::uint16_t>(bytes, 6, kFlagRequest);
  Put<std::uint32_t>(bytes, 8, sequence);
  bytes[kHeaderSize] = family;
  bytes[kHeaderSize + 1] = kTcp;
  Put<std::uint32_t>(bytes, kHeaderSize + 4, ~0U);  // every state
  PutId(bytes, kHeaderSize + kRequestIdAt, socket, family);
  return bytes;
}

std::optional<std::uint32_t> SocketOwnerFromReply(std::span<const std::uint8_t> reply,
                                                  const ClientSocket& socket, std::uint32_t sequence) {
  std::optional<std::uint32_t> owner;
  std::size_t at = 0;
  while (reply.size() - at >= kHeaderSize) {
    const auto length = Get<std::uint32_t>(reply, at);
    if (length < kHeaderSize || length > reply.size() - at) return std::nullopt;
    const std::span<const std::uint8_t> body = reply.subspan(at + kHeaderSize, length - kHeaderSize);
    const auto type = Get<std::uint16_t>(reply, at + 4);
    if (Get<std::uint32_t>(reply, at + 8) == sequence) {
      if (type == kDone) break;
      // An error answer, or an answer of a form not known here, names nobody.
      if (type != kSockDiagByFamily || body.size() < kAnswerSize) return std::nullopt;
      const auto uid = Get<std::uint32_t>(body, kAnswerUidAt);
      if (!NamesSocket(body.subspan(kAnswerIdAt, kIdSize), body[0], socket) ||
          Get<std::uint32_t>(body, kAnswerInodeAt) == 0 || (owner && *owner != uid)) {
        return std::nullopt;
      }
      owner = uid;
    }
    // Messages start on four-byte boundaries.
    const std::size_t next = (static_cast<std::size_t>(length) + 3) & ~std::size_t{3};
    if (next > reply.size() - at) break;
    at += next;
  }
  return owner;
}

}  // namespace taviro::helper
