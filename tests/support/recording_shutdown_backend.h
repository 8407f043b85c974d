#pragma once

#include <vector>

#include "platform/shutdown_backend.h"

namespace taviro::testing {

// Remembers each power-off request and its force flag; never reaches the
// system.
class RecordingShutdownBackend final : public ShutdownBackend {
 public:
  void PowerOff(bool force) override { requests.push_back(force); }
  std::vector<bool> requests;
};

}  // namespace taviro::testing
