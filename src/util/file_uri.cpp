#include "util/file_uri.h"

namespace taviro {
namespace {

bool KeptAsIs(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '-' ||
         c == '_' || c == '.' || c == '~';
}

}  // namespace

std::string FileUri(const std::filesystem::path& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (const char ch : path.string()) {
    const auto c = static_cast<unsigned char>(ch);
    if (KeptAsIs(c)) {
      uri.push_back(ch);
    } else {
      uri.push_back('%');
      uri.push_back(kHex[c >> 4U]);
      uri.push_back(kHex[c & 0x0FU]);
    }
  }
  return uri;
}

}  // namespace taviro
