#pragma once

#include "ports/uri_launcher.h"

namespace taviro::gtk {

// Opens addresses with the desktop's default handlers.
class DesktopLauncher final : public UriLauncher {
 public:
  void Open(const std::string& uri) override;
};

}  // namespace taviro::gtk
