#pragma once

#include <cstdint>
#include <functional>

namespace taviro {

// Runs callbacks after a delay on the main loop. The program uses GLib's
// timeouts; tests advance a manual clock.
class TimerScheduler {
 public:
  using Handle = std::uint64_t;
  virtual ~TimerScheduler() = default;
  // Calls `tick` every `interval_ms` until cancelled.
  virtual Handle StartRepeating(int interval_ms, std::function<void()> tick) = 0;
  virtual void Cancel(Handle handle) = 0;
};

}  // namespace taviro
