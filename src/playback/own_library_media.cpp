#include "playback/own_library_media.h"

#include <algorithm>

namespace taviro {

bool IsOwnLibraryMedia(std::string_view address, std::string_view service_base) {
  // Only a loopback base is the program's own service: a service elsewhere
  // serves files of another machine, which the helper keeps as before.
  constexpr std::string_view kLoopback = "http://127.0.0.1:";
  if (!service_base.starts_with(kLoopback) || !service_base.ends_with('/')) return false;
  if (!address.starts_with(service_base)) return false;
  const std::string_view rest = address.substr(service_base.size());
  if (!rest.starts_with(kOwnLibraryMediaFolder)) return false;
  // No way back out of the folder, and nothing the player would read as
  // another address.
  const std::string_view file = rest.substr(kOwnLibraryMediaFolder.size());
  return !file.empty() && file.find("..") == std::string_view::npos &&
         std::none_of(file.begin(), file.end(), [](char c) {
           return c == '/' || c == '?' || c == '#' || static_cast<unsigned char>(c) < 0x20;
         });
}

}  // namespace taviro
