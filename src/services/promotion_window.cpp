#include "services/promotion_window.h"

namespace taviro {
namespace {

constexpr int kViewOverhang = 2;
constexpr int kCloseWidth = 51;
constexpr int kCloseHeight = 21;
constexpr int kCloseFromRight = 55;
constexpr int kCloseTop = 5;

}  // namespace

PromotionLayout LayOutPromotion(int inner_width, int inner_height) {
  return {{-kViewOverhang, -kViewOverhang, inner_width + 2 * kViewOverhang, inner_height + 2 * kViewOverhang},
          {inner_width - kCloseFromRight, kCloseTop, kCloseWidth, kCloseHeight}};
}

PromotionWindow::PromotionWindow(TimerScheduler& scheduler, const ServiceState& state,
                                 PromotionWindowPort& window, std::string base_url)
    : state_(state),
      window_(window),
      base_url_(std::move(base_url)),
      timer1_(scheduler, kPromotionCloseAfterMs, false, [this] { CloseWhenTimeIsUp(); }),
      timer2_(scheduler, kPromotionCloseImageMs, false, [this] { ShowCloseImage(); }) {}

void PromotionWindow::Show(std::function<void()> end_run) {
  if (shown_) return;
  shown_ = true;
  end_run_ = std::move(end_run);
  window_.SetCloseImageVisible(false);
  window_.Open(base_url_ + "js/ads/tui.html");
  timer1_.SetEnabled(true);
  timer2_.SetEnabled(true);
}

void PromotionWindow::CloseWhenTimeIsUp() {
  timer1_.SetEnabled(false);
  Close();
}

void PromotionWindow::ShowCloseImage() {
  timer2_.SetEnabled(false);
  window_.SetCloseImageVisible(true);
}

void PromotionWindow::Close() {
  if (!shown_) return;
  shown_ = false;
  timer1_.SetEnabled(false);
  timer2_.SetEnabled(false);
  window_.Close();
  if (auto end_run = std::move(end_run_)) end_run();
}

}  // namespace taviro
