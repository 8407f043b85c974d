// The one rule for what may reach the player: whatever a page, a list or the
// service names, only web addresses, absolute paths and the download
// helper's own form pass, and none of the player library's other handlers.
#include <string>

#include "playback/media_address.h"
#include "property.h"

namespace {

using taviro::fuzz::Check;

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return lower;
}

bool HasControl(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string address(reinterpret_cast<const char*>(data), size);
  const std::string lower = Lower(address);
  const bool web = lower.starts_with("http://") || lower.starts_with("https://");
  if (taviro::MayReachPlayer(address)) {
    Check(web || address.starts_with("qvod://") || address.starts_with("/"),
          "only web, helper or absolute paths", address);
    Check(address.find('\0') == std::string::npos, "no NUL reaches the player", address);
    if (!address.starts_with("/")) Check(!HasControl(address), "no control character in an address", address);
  }
  // Whatever follows them, the library's own handlers never pass.
  for (const char* handler : {"fd://", "fdclose://", "av://", "lavfi://", "memory://", "file:", "edl://"}) {
    Check(!taviro::MayReachPlayer(handler + address), "the player library's handlers are refused", address);
  }
  return 0;
}
