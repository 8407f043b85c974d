#pragma once

#include <glib.h>

#include <map>

#include "ports/timer_scheduler.h"

namespace taviro::gtk {

// Timers on the GLib main loop.
class GLibTimerScheduler final : public TimerScheduler {
 public:
  GLibTimerScheduler() = default;
  GLibTimerScheduler(const GLibTimerScheduler&) = delete;
  GLibTimerScheduler& operator=(const GLibTimerScheduler&) = delete;
  ~GLibTimerScheduler() override;

  Handle StartRepeating(int interval_ms, std::function<void()> tick) override;
  void Cancel(Handle handle) override;

 private:
  std::map<Handle, guint> sources_;
  Handle last_handle_ = 0;
};

}  // namespace taviro::gtk
