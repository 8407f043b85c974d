#pragma once

#include <vector>

#include "ports/shutdown_backend.h"

namespace taviro::testing {

// Remembers each power-off request and its force flag; never reaches the
// system.
class RecordingShutdownBackend final : public ShutdownBackend {
 public:
  bool PowerOff(bool force) override {
    requests.push_back(force);
    return accept;
  }
  std::vector<bool> requests;
  bool accept = true;
};

}  // namespace taviro::testing
