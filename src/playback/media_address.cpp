#include "playback/media_address.h"

#include <algorithm>

namespace taviro {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           const auto lower = [](char c) {
             return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
           };
           return lower(a) == lower(b);
         });
}

bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

}  // namespace

bool MayReachPlayer(std::string_view address) {
  for (std::string_view scheme : {std::string_view("http://"), std::string_view("https://")}) {
    if (StartsWithNoCase(address, scheme)) {
      return address.size() > scheme.size() && std::none_of(address.begin(), address.end(), IsControl);
    }
  }
  // The vendor's own form names a file the download helper serves; the
  // player library has no handler of its own for it.
  if (address.starts_with("qvod://")) {
    return std::none_of(address.begin(), address.end(), IsControl);
  }
  // A file name may hold any byte but NUL, which would end it early.
  return address.size() > 1 && address.front() == '/' && address.find('\0') == std::string_view::npos;
}

bool MayRemoteChoiceReachPlayer(std::string_view address) {
  return MayReachPlayer(address) && !address.starts_with('/');
}

}  // namespace taviro
