#include "util/path_names.h"

#include <algorithm>

#include "util/utf8.h"

namespace taviro {

std::string FileNameOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return {};
  return std::string(path.substr(slash + 1));
}

std::string ShownNameOf(std::string_view path) {
  const std::size_t scheme = path.find("://");
  if (scheme == std::string_view::npos) return FileNameOf(path);
  const std::string_view address = path.substr(0, path.find_first_of("?#", scheme + 3));
  const std::string name = FileNameOf(address);
  const std::string decoded = PercentDecoded(name);
  const bool text = IsValidUtf8(decoded) && std::none_of(decoded.begin(), decoded.end(), [](char c) {
                      return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
                    });
  return text ? decoded : name;
}

std::string PercentDecoded(std::string_view text) {
  const auto hex_digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int high = text[i] == '%' && i + 2 < text.size() ? hex_digit(text[i + 1]) : -1;
    const int low = high >= 0 ? hex_digit(text[i + 2]) : -1;
    if (low >= 0) {
      decoded += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

}  // namespace taviro
