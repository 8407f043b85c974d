#pragma once

#include <functional>
#include <string>

#include "services/update_check.h"
#include "util/timer.h"

namespace taviro {

class TextFetcher;
class TimerScheduler;
struct WindowModel;

inline constexpr int kTimer5IntervalMs = 6000;

struct SwitchCheckEnv {
  WindowModel& model;
  ServiceState& state;
  TextFetcher& fetcher;
  UpdateEnv update;
  // Loads the popup notice window, hidden; loading starts its schedule.
  std::function<void()> load_notice;
  // Starts the news ticker.
  std::function<void()> start_news_ticker;
};

// `Timer5`: six seconds after the window is created the switch file is
// fetched once, and what it announces is applied in its order: the pause
// panel, the version and the update decision, the notice, the ticker, the
// player panel.
class SwitchCheck {
 public:
  SwitchCheck(TimerScheduler& scheduler, SwitchCheckEnv env);
  SwitchCheck(const SwitchCheck&) = delete;
  SwitchCheck& operator=(const SwitchCheck&) = delete;

  void FetchSwitchFile();
  // The reply of "lib/wen.txt" (empty when the fetch failed).
  void Apply(const std::string& text);

 private:
  SwitchCheckEnv env_;
  Timer timer5_;
};

}  // namespace taviro
