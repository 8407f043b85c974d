#pragma once

#include <string>
#include <vector>

#include "platform/uri_launcher.h"

namespace taviro::testing {

// Keeps the addresses it was asked to open; opens nothing.
class FakeUriLauncher : public UriLauncher {
 public:
  void Open(const std::string& uri) override { opened.push_back(uri); }
  std::vector<std::string> opened;
};

}  // namespace taviro::testing
