#include "services/popup_notice.h"

#include <gtest/gtest.h>

#include "support/fake_text_fetcher.h"
#include "support/manual_scheduler.h"

namespace taviro {
namespace {

using testing::FakeTextFetcher;
using testing::ManualScheduler;

constexpr std::int64_t kMinute = kTimertIntervalMs;

TEST(NoticeScheduleTest, NumbersDefaultAndOnlyHttpAddressesAreKept) {
  const auto schedule =
      ParseNoticeSchedule("60||10||1||http://a/1$$$https://a/2$$$ftp://a/3$$$http://a/4\r\n");
  ASSERT_TRUE(schedule);
  EXPECT_EQ(schedule->delay, 60);
  EXPECT_EQ(schedule->stay, 10);
  EXPECT_EQ(schedule->repeat, 1);
  EXPECT_EQ(schedule->urls, (std::vector<std::string>{"http://a/1", "http://a/4"}));

  const auto defaults = ParseNoticeSchedule("0||||x||http://a/1");
  EXPECT_EQ(defaults->delay, 120);
  EXPECT_EQ(defaults->stay, 30);
  EXPECT_EQ(defaults->repeat, 0);
  EXPECT_EQ(ParseNoticeSchedule("5x||-2||1")->delay, 120);
  EXPECT_EQ(ParseNoticeSchedule("5x||-2||1")->stay, -2);
  EXPECT_TRUE(ParseNoticeSchedule("5||-2||1")->urls.empty());
  EXPECT_FALSE(ParseNoticeSchedule("Taviro 2.4\r\n"));

  std::string sixty = "1||1||0||";
  for (int k = 0; k < 60; ++k) sixty += (k ? "$$$http://a/" : "http://a/") + std::to_string(k);
  EXPECT_EQ(ParseNoticeSchedule(sixty)->urls.size(), 51U);
}

TEST(NoticeScheduleTest, TheWindowFitsThePageWithinLimitsAboveTheBottomRight) {
  const ScreenRect work{0, 0, 1280, 770};
  const NoticeGeometry small = PlaceNotice(250, 120, work);
  EXPECT_EQ(small.window.left, 1280 - 250);
  EXPECT_EQ(small.window.top, 770 - 120 - 32);
  EXPECT_EQ(small.window.width(), 250);
  EXPECT_EQ(small.window.height(), 120);
  EXPECT_EQ(small.web, (Rect{-2, -2, 254, 124}));
  EXPECT_EQ(small.close_image, (Rect{250 - 40 - 1, 1, 40, 14}));

  const NoticeGeometry large = PlaceNotice(1000, 2000, {100, 50, 1380, 850});
  EXPECT_EQ(large.window.width(), 800);
  EXPECT_EQ(large.window.height(), 600);
  EXPECT_EQ(large.window.right, 1380);
  EXPECT_EQ(large.window.bottom, 850 - 32);
}

class FakeNoticeWindow : public NoticeWindowPort {
 public:
  void Navigate(const std::string& url) override { navigations.push_back(url); }
  void SetVisible(bool now) override { visible = now; }
  void ShrinkView() override { ++shrinks; }
  void MeasurePage(std::function<void(int, int)> done) override { done(page_width, page_height); }
  void Place(const NoticeGeometry& geometry) override { placed = geometry.window; }
  ScreenRect WorkArea() override { return {0, 0, 1280, 800}; }
  void Unload() override { ++unloads; }

  std::vector<std::string> navigations;
  bool visible = false;
  int shrinks = 0;
  int unloads = 0;
  int page_width = 250;
  int page_height = 120;
  ScreenRect placed;
};

struct PopupNoticeTest : ::testing::Test {
  ManualScheduler scheduler;
  FakeTextFetcher fetcher;
  FakeNoticeWindow window;
  PopupNotice notice{scheduler, fetcher, window, "http://127.0.0.1:9/"};

  void LoadWith(const std::string& schedule) {
    notice.Load();
    ASSERT_EQ(fetcher.requests, std::vector<std::string>{"http://127.0.0.1:9/lib/tan.txt"});
    fetcher.Answer(schedule);
  }
  // The page navigated to last finished loading.
  void Complete() { notice.OnPageComplete(); }
};

TEST_F(PopupNoticeTest, TheFirstPageComesAfterTheDelayAndFitsItself) {
  LoadWith("3||2||0||http://a/1$$$http://a/2\r\n");
  EXPECT_EQ(window.navigations, std::vector<std::string>{"about:blank"});
  Complete();  // about:blank: not armed yet
  EXPECT_FALSE(window.visible);
  scheduler.Advance(2 * kTimercIntervalMs);
  EXPECT_EQ(window.navigations.size(), 1U);
  scheduler.Advance(kTimercIntervalMs);
  EXPECT_EQ(window.navigations.back(), "http://a/1");
  EXPECT_EQ(scheduler.active(), 1U);  // the delay is over: only the page's stay is timed
  EXPECT_FALSE(window.visible);
  Complete();
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(window.placed.right, 1280);
  EXPECT_EQ(window.placed.bottom, 800 - 32);
}

TEST_F(PopupNoticeTest, WithoutRepeatTheWindowGoesAfterTheLastPagesStay) {
  LoadWith("1||2||0||http://a/1$$$http://a/2");
  scheduler.Advance(kTimercIntervalMs);
  Complete();
  scheduler.Advance(2 * kMinute - 1);
  EXPECT_EQ(window.navigations.back(), "http://a/1");
  scheduler.Advance(1);
  EXPECT_EQ(window.navigations.back(), "http://a/2");
  EXPECT_FALSE(window.visible);
  EXPECT_EQ(window.shrinks, 1);
  Complete();
  EXPECT_TRUE(window.visible);
  scheduler.Advance(2 * kMinute);
  EXPECT_EQ(window.unloads, 1);
  EXPECT_FALSE(notice.Loaded());
  EXPECT_EQ(scheduler.active(), 0U);
  EXPECT_EQ(window.navigations.size(), 3U);
}

TEST_F(PopupNoticeTest, WithRepeatAClosedWindowComesBackWithTheNextPage) {
  LoadWith("1||1||1||http://a/1$$$http://a/2");
  scheduler.Advance(kTimercIntervalMs);
  Complete();
  notice.Hide();  // the close image during page 0
  EXPECT_FALSE(window.visible);
  scheduler.Advance(kMinute);
  Complete();
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(window.navigations.back(), "http://a/2");
  scheduler.Advance(kMinute);
  EXPECT_EQ(window.navigations.back(), "http://a/1");
  EXPECT_EQ(window.unloads, 0);
}

TEST_F(PopupNoticeTest, ANegativeStayKeepsTheFirstPage) {
  LoadWith("1||-1||1||http://a/1$$$http://a/2");
  scheduler.Advance(kTimercIntervalMs + 100 * kMinute);
  EXPECT_EQ(window.navigations.back(), "http://a/1");
  EXPECT_EQ(scheduler.active(), 0U);
}

TEST_F(PopupNoticeTest, NothingIsShownWithoutAnAddressOrAReply) {
  for (const char* reply : {"1||1||1||ftp://a/1$$$www.a.com", "", "Taviro 2.4\r\n"}) {
    fetcher.requests.clear();
    LoadWith(reply);
    scheduler.Advance(200 * kTimercIntervalMs);
    EXPECT_EQ(window.navigations.back(), "about:blank") << reply;
    EXPECT_EQ(scheduler.active(), 0U) << reply;
    EXPECT_TRUE(notice.Loaded());
  }
}

TEST_F(PopupNoticeTest, UnloadingStopsTheSchedule) {
  LoadWith("1||1||1||http://a/1");
  notice.Unload();
  scheduler.Advance(10 * kMinute);
  EXPECT_EQ(window.navigations, std::vector<std::string>{"about:blank"});
  EXPECT_FALSE(window.visible);
}

}  // namespace
}  // namespace taviro
