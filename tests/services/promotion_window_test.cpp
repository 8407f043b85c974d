#include "services/promotion_window.h"

#include <gtest/gtest.h>

#include "support/manual_scheduler.h"

namespace taviro {
namespace {

using testing::ManualScheduler;

class FakePromotionWindow : public PromotionWindowPort {
 public:
  void Open(const std::string& url) override { opened.push_back(url); }
  void SetCloseImageVisible(bool visible) override { close_image = visible; }
  void Close() override { ++closes; }
  std::vector<std::string> opened;
  bool close_image = true;
  int closes = 0;
};

struct PromotionWindowTest : ::testing::Test {
  ManualScheduler scheduler;
  ServiceState state;
  FakePromotionWindow window;
  PromotionWindow promotion{scheduler, state, window, "http://127.0.0.1:9/"};
  int ended = 0;

  void Show() {
    promotion.Show([this] { ++ended; });
  }
};

TEST_F(PromotionWindowTest, OnlyTheExactFlagOneAsksForIt) {
  EXPECT_FALSE(promotion.Wanted());
  for (const char* flag : {"0", "01", "1\r\n", " 1", ""}) {
    state.ExitPromoFlag = flag;
    EXPECT_FALSE(promotion.Wanted()) << flag;
  }
  state.ExitPromoFlag = "1";
  EXPECT_TRUE(promotion.Wanted());
}

TEST_F(PromotionWindowTest, TheCloseImageAfterOneSecondAndTheEndAfterTwenty) {
  Show();
  EXPECT_EQ(window.opened, std::vector<std::string>{"http://127.0.0.1:9/js/ads/tui.html"});
  EXPECT_FALSE(window.close_image);
  scheduler.Advance(999);
  EXPECT_FALSE(window.close_image);
  scheduler.Advance(1);
  EXPECT_TRUE(window.close_image);
  scheduler.Advance(kPromotionCloseAfterMs - 1001);
  EXPECT_EQ(ended, 0);
  scheduler.Advance(1);
  EXPECT_EQ(window.closes, 1);
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(scheduler.active(), 0U);
  scheduler.Advance(60000);
  EXPECT_EQ(ended, 1);
}

TEST_F(PromotionWindowTest, AClickOrANewWindowClosesItAndEndsTheRunOnce) {
  Show();
  scheduler.Advance(300);
  promotion.Close();
  promotion.Close();
  EXPECT_EQ(window.closes, 1);
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(scheduler.active(), 0U);
}

TEST(PromotionLayoutTest, ViewOverhangsAndCloseImageInTheCorner) {
  const PromotionLayout layout = LayOutPromotion(kPromotionWidth, kPromotionHeight);
  EXPECT_EQ(layout.web, (Rect{-2, -2, 303, 251}));
  EXPECT_EQ(layout.close_image, (Rect{244, 5, 51, 21}));
}

}  // namespace
}  // namespace taviro
