#include "service/access_gate.h"

#include <arpa/inet.h>
#include <unistd.h>

#include <cstdio>

#include "helper/media_request.h"
#include "util/file_io.h"

namespace taviro::demo {
namespace {

// A byte-for-byte comparison whose time does not tell how much matched.
bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < a.size(); ++i) difference |= static_cast<unsigned char>(a[i] ^ b[i]);
  return difference == 0;
}

// As /proc/net/tcp writes an IPv4 address and port.
std::optional<std::string> TableForm(const std::string& address, int port) {
  in_addr raw{};
  if (inet_pton(AF_INET, address.c_str(), &raw) != 1) return std::nullopt;
  char text[16];
  std::snprintf(text, sizeof text, "%08X:%04X", raw.s_addr, static_cast<unsigned>(port));
  return std::string(text);
}

}  // namespace

std::optional<std::string> PathBehindKey(std::string_view path, std::string_view key) {
  if (key.empty()) return std::string(path);
  if (path.size() < key.size() + 2 || path[0] != '/' || path[key.size() + 1] != '/') return std::nullopt;
  if (!SameText(path.substr(1, key.size()), key)) return std::nullopt;
  return std::string(path.substr(key.size() + 1));
}

bool ClientIsOwnUser(const std::string& remote_address, int remote_port, int local_port) {
  const std::optional<std::string> client = TableForm(remote_address, remote_port);
  const std::optional<std::string> own = TableForm("127.0.0.1", local_port);
  const std::optional<std::string> table = ReadFileBytes("/proc/net/tcp");
  if (!client || !own || !table) return false;
  const std::optional<std::uint32_t> owner = helper::TcpSocketOwner(*table, *client, *own);
  return owner && *owner == getuid();
}

}  // namespace taviro::demo
