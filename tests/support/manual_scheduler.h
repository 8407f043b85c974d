#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "ports/timer_scheduler.h"

namespace taviro::testing {

// Time stands still until a test advances it; due callbacks run in order of
// their due time, then of their start.
class ManualScheduler : public TimerScheduler {
 public:
  Handle StartRepeating(int interval_ms, std::function<void()> tick) override {
    const Handle handle = ++last_handle_;
    entries_[handle] = Entry{interval_ms, now_ms_ + interval_ms, std::move(tick)};
    return handle;
  }
  void Cancel(Handle handle) override { entries_.erase(handle); }

  void Advance(std::int64_t ms) {
    const std::int64_t target = now_ms_ + ms;
    for (;;) {
      Handle next = 0;
      std::int64_t due = target + 1;
      for (const auto& [handle, entry] : entries_) {
        if (entry.due_ms < due) {
          due = entry.due_ms;
          next = handle;
        }
      }
      if (next == 0) {
        break;
      }
      now_ms_ = due;
      Entry& entry = entries_.at(next);
      entry.due_ms += entry.interval_ms;
      auto tick = entry.tick;  // the callback may cancel its own entry
      tick();
    }
    now_ms_ = target;
  }
  std::int64_t now_ms() const { return now_ms_; }
  std::size_t active() const { return entries_.size(); }

 private:
  struct Entry {
    int interval_ms = 0;
    std::int64_t due_ms = 0;
    std::function<void()> tick;
  };
  std::map<Handle, Entry> entries_;
  Handle last_handle_ = 0;
  std::int64_t now_ms_ = 0;
};

}  // namespace taviro::testing
