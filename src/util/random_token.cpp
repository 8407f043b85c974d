#include "util/random_token.h"

#include <sys/random.h>

#include <array>
#include <cerrno>

namespace taviro {

std::string RandomToken() {
  std::array<unsigned char, 16> bytes{};
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t now = ::getrandom(bytes.data() + got, bytes.size() - got, 0);
    if (now < 0 && errno == EINTR) continue;
    if (now <= 0) return {};
    got += static_cast<std::size_t>(now);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string token;
  for (const unsigned char byte : bytes) {
    token += kHex[byte >> 4];
    token += kHex[byte & 15];
  }
  return token;
}

}  // namespace taviro
