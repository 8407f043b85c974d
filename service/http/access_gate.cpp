#include "http/access_gate.h"

#include <arpa/inet.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "linux/system/socket_owner.h"

namespace taviro::demo {
namespace {

// A byte-for-byte comparison whose time does not tell how much matched.
bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < a.size(); ++i) difference |= static_cast<unsigned char>(a[i] ^ b[i]);
  return difference == 0;
}

std::optional<std::array<std::uint8_t, 4>> AddressBytes(const std::string& address) {
  in_addr raw{};
  if (inet_pton(AF_INET, address.c_str(), &raw) != 1) return std::nullopt;
  std::array<std::uint8_t, 4> bytes{};
  std::memcpy(bytes.data(), &raw.s_addr, bytes.size());
  return bytes;
}

}  // namespace

std::optional<std::string> PathBehindKey(std::string_view path, std::string_view key) {
  if (key.empty()) return std::string(path);
  if (path.size() < key.size() + 2 || path[0] != '/' || path[key.size() + 1] != '/') return std::nullopt;
  if (!SameText(path.substr(1, key.size()), key)) return std::nullopt;
  return std::string(path.substr(key.size() + 1));
}

bool ClientIsOwnUser(const std::string& remote_address, int remote_port, int local_port) {
  const auto client = AddressBytes(remote_address);
  const auto own = AddressBytes("127.0.0.1");
  if (!client || !own) return false;
  const std::optional<uid_t> owner = helper::LoopbackClientOwner(helper::ClientSocket{
      *client, static_cast<std::uint16_t>(remote_port), *own, static_cast<std::uint16_t>(local_port)});
  return owner && *owner == getuid();
}

}  // namespace taviro::demo
