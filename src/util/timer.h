#pragma once

#include <functional>

#include "ports/timer_scheduler.h"

namespace taviro {

// A window timer: it ticks every Interval
// milliseconds while Enabled; enabling a stopped timer starts a new count,
// enabling a running one changes nothing, and a new interval restarts the
// count.
class Timer {
 public:
  Timer(TimerScheduler& scheduler, int interval_ms, bool enabled, std::function<void()> handler);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // The code a timer runs is often built after the timer, since it needs the
  // objects that enable the timer.
  void SetHandler(std::function<void()> handler) { handler_ = std::move(handler); }

 private:
  void Start();
  void Stop();

  TimerScheduler& scheduler_;
  const int interval_ms_;
  bool enabled_ = false;
  std::function<void()> handler_;
  TimerScheduler::Handle handle_ = 0;
};

}  // namespace taviro
