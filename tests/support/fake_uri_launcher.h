#pragma once

#include <string>
#include <vector>

#include "ports/uri_launcher.h"
#include "support/call_log.h"

namespace taviro::testing {

// Records the addresses handed to the desktop; opens nothing.
class FakeUriLauncher : public UriLauncher {
 public:
  explicit FakeUriLauncher(CallLog* log = nullptr) : log_(log) {}
  void Open(const std::string& uri) override {
    opened.push_back(uri);
    AddTo(log_, "desktop.Open(" + uri + ")");
  }
  std::vector<std::string> opened;

 private:
  CallLog* log_;
};

}  // namespace taviro::testing
