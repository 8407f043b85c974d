#pragma once

#include <functional>
#include <string>

#include "services/exit_promotion.h"
#include "util/timer.h"
#include "window/window_model.h"

namespace taviro {

class TimerScheduler;

inline constexpr int kPromotionCloseAfterMs = 20000;  // `Timer1`
inline constexpr int kPromotionCloseImageMs = 1000;   // `Timer2`
inline constexpr int kPromotionWidth = 299;           // designed inner size, pixels
inline constexpr int kPromotionHeight = 247;

// The promotion window `ba4` as its timers and clicks drive it.
class PromotionWindowPort {
 public:
  virtual ~PromotionWindowPort() = default;
  virtual void Open(const std::string& url) = 0;
  virtual void SetCloseImageVisible(bool visible) = 0;
  virtual void Close() = 0;
};

// Inside the window: the view hangs 2 pixels over every edge of the panel,
// the 51 x 21 close image sits in the top-right corner.
struct PromotionLayout {
  Rect web;
  Rect close_image;
};
PromotionLayout LayOutPromotion(int inner_width, int inner_height);

// The promotion window `ba4`: one service page after the main window has
// closed. Its close image appears after a second; it closes itself after
// 20 s, on a click on the close image, or when the page opens a new window.
class PromotionWindow final : public ExitPromotion {
 public:
  PromotionWindow(TimerScheduler& scheduler, const ServiceState& state, PromotionWindowPort& window,
                  std::string base_url);
  PromotionWindow(const PromotionWindow&) = delete;
  PromotionWindow& operator=(const PromotionWindow&) = delete;

  bool Wanted() const override { return ExitPromotionWanted(state_); }
  void Show(std::function<void()> end_run) override;

  void CloseWhenTimeIsUp();
  void ShowCloseImage();
  // The close image, a page's new window, or the window manager's close.
  void Close();

  bool Shown() const { return shown_; }

 private:
  const ServiceState& state_;
  PromotionWindowPort& window_;
  std::string base_url_;
  Timer timer1_;
  Timer timer2_;
  std::function<void()> end_run_;
  bool shown_ = false;
};

}  // namespace taviro
