#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "util/timer.h"

namespace taviro {

class TextFetcher;
class TimerScheduler;
class UriLauncher;

inline constexpr int kTimergIntervalMs = 50;
inline constexpr int kTickerLeft = 470;
inline constexpr int kTickerRise = 12;  // pixels a headline rises into place
inline constexpr int kSingleHeadlineTop = 16;

// One label of the array `La`, in pixels of the control bar. Every label is
// drawn in orange; the one under the pointer is underlined.
struct TickerLabel {
  std::string caption;
  int left = kTickerLeft;
  int top = 0;
  bool visible = false;
  bool underlined = false;
};

enum class TickerHover { kNone = 0, kHolding = 1, kClicked = 2 };

// The news line in the control bar: headlines rise in one after
// another, hold about five seconds (longer while the pointer rests on one),
// and open their link when clicked.
class NewsTicker {
 public:
  struct Env {
    TextFetcher& fetcher;
    UriLauncher& uris;
    std::string service_base_url;
    // The top of label 0 as the layout placed it.
    std::function<int()> label0_top;
  };

  NewsTicker(TimerScheduler& scheduler, Env env);
  NewsTicker(const NewsTicker&) = delete;
  NewsTicker& operator=(const NewsTicker&) = delete;

  // Fetches "lib/gun.txt" and starts the ticker with it.
  void FetchAndStart();
  // The reply (empty when the fetch failed).
  void Load(std::string_view text);
  void OnTimerg();

  void PointerOverLabel(int k);
  void ClickLabel(int k);
  // The pointer is on the control bar but on no headline.
  void PointerOverBar();
  // The pointer is on the window's body or title bar.
  void ClearHover() { hover_ = TickerHover::kNone; }

  // Label 0 exists before anything is loaded.
  const std::vector<TickerLabel>& La() const { return labels_; }

 private:
  Env env_;
  Timer timerg_;
  std::vector<TickerLabel> labels_{1};
  std::vector<std::string> links_;  // TickerLinks
  int last_ = 0;                    // TickerLast
  int index_ = 0;                   // TickerIndex: the headline shown
  int hold_ = 0;                    // TickerHold
  int hold_ms_ = 0;                 // TickerHoldMs
  int rest_top_ = 0;                // TickerRestTop
  TickerHover hover_ = TickerHover::kNone;
};

}  // namespace taviro
