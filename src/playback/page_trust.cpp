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

bool IsSchemeLetter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '+' || c == '-' || c == '.';
}

}  // namespace

bool IsServiceAddress(std::string_view address, std::string_view service_base) {
  if (service_base.empty() || service_base.find("://") == std::string_view::npos) return false;
  // The base ends with its folder's "/": "http://h:8" must not take in
  // "http://h:80/" nor "http://h:8.evil/".
  std::string base(service_base);
  if (!base.ends_with('/')) base += '/';
  return StartsWithFolded(address, base);
}

bool IsTrustedPage(std::string_view page_address, std::string_view service_base) {
  // A view that shows nothing yet, or a document the program wrote itself.
  if (page_address.empty() || page_address == "about:blank" || StartsWithFolded(page_address, "file:")) {
    return true;
  }
  return IsServiceAddress(page_address, service_base);
}

bool CarriesOtherAddress(std::string_view address) {
  const std::size_t own = address.find("://");
  if (own == std::string_view::npos) return false;
  for (std::size_t at = address.find("://", own + 3); at != std::string_view::npos;
       at = address.find("://", at + 3)) {
    if (at > 0 && IsSchemeLetter(address[at - 1])) return true;
  }
  return false;
}

}  // namespace taviro
