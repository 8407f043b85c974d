#pragma once

namespace taviro {

// Powers the machine off. Injected everywhere: tests pass a recording fake
// and must never reach a real implementation.
class ShutdownBackend {
 public:
  virtual ~ShutdownBackend() = default;
  // force: do not wait for applications that would delay the shutdown.
  // False when the system refused (or could not be asked).
  virtual bool PowerOff(bool force) = 0;
};

}  // namespace taviro
