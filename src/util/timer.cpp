#include "util/timer.h"

namespace taviro {

Timer::Timer(TimerScheduler& scheduler, int interval_ms, bool enabled, std::function<void()> handler)
    : scheduler_(scheduler), interval_ms_(interval_ms), handler_(std::move(handler)) {
  SetEnabled(enabled);
}

Timer::~Timer() { Stop(); }

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) {
    return;
  }
  enabled_ = enabled;
  if (enabled_) {
    Start();
  } else {
    Stop();
  }
}

void Timer::Start() {
  // An interval of 0 never ticks: it means a timer that is off.
  if (interval_ms_ > 0) {
    handle_ = scheduler_.StartRepeating(interval_ms_, [this] {
      if (enabled_ && handler_) {
        handler_();
      }
    });
  }
}

void Timer::Stop() {
  if (handle_ != 0) {
    scheduler_.Cancel(handle_);
    handle_ = 0;
  }
}

}  // namespace taviro
