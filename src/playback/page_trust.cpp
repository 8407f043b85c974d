#include "playback/page_trust.h"

#include <cctype>
#include <string>

namespace taviro {
namespace {

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

// Where an address's path begins: after "scheme://authority".
std::size_t PathStart(std::string_view address) {
  const std::size_t authority = address.find("://");
  if (authority == std::string_view::npos) return std::string_view::npos;
  const std::size_t path = address.find_first_of("/?#", authority + 3);
  return path == std::string_view::npos ? address.size() : path;
}

}  // namespace

bool IsServiceAddress(std::string_view address, std::string_view service_base) {
  const std::size_t base_path = PathStart(service_base);
  if (base_path == std::string_view::npos) return false;
  // The base ends with its folder's "/": "http://h:8" must not take in
  // "http://h:80/" nor "http://h:8.evil/", nor "/site" take in "/sitex/".
  std::string folder(service_base.substr(base_path));
  if (!folder.ends_with('/')) folder += '/';
  const std::string_view origin = service_base.substr(0, base_path);
  return StartsWithFolded(address, origin) && address.substr(origin.size()).starts_with(folder);
}

bool IsTrustedPage(std::string_view page_address, std::string_view service_base) {
  // A view that shows nothing yet, or a document the program wrote itself.
  if (page_address.empty() || page_address == "about:blank" || StartsWithFolded(page_address, "file:")) {
    return true;
  }
  return IsServiceAddress(page_address, service_base);
}

}  // namespace taviro
