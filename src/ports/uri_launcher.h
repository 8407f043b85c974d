#pragma once

#include <string>

namespace taviro {

// Hands an address to the desktop: web pages open in the user's browser,
// folders in the user's file manager. Never through a shell command line.
class UriLauncher {
 public:
  virtual ~UriLauncher() = default;
  virtual void Open(const std::string& uri) = 0;
};

}  // namespace taviro
