#include "services/news_ticker.h"

#include <gtest/gtest.h>

#include "services/headline_file.h"
#include "support/fake_text_fetcher.h"
#include "support/fake_uri_launcher.h"
#include "support/manual_scheduler.h"
#include "util/ansi_text.h"

namespace taviro {
namespace {

using testing::FakeTextFetcher;
using testing::FakeUriLauncher;
using testing::ManualScheduler;

constexpr int kRestTop = 18;

TEST(HeadlineFileTest, EntriesWithoutSeparatorAreDroppedAndOrderKept) {
  const std::vector<Headline> kept =
      ParseHeadlines("甲||http://a/1$$$no separator$$$乙||*||extra$$$丙||$$$\r\n");
  ASSERT_EQ(kept.size(), 3U);
  EXPECT_EQ(kept[0].text, "甲");
  EXPECT_EQ(kept[0].link, "http://a/1");
  EXPECT_EQ(kept[1].text, "乙");
  EXPECT_EQ(kept[1].link, "*");
  EXPECT_EQ(kept[2].link, "");

  EXPECT_EQ(ParseHeadlines("one||http://a/1\r\n")[0].link, "http://a/1");
  EXPECT_TRUE(ParseHeadlines("").empty());
  EXPECT_TRUE(ParseHeadlines("no separator at all$$$x").empty());

  std::string sixty;
  for (int k = 0; k < 60; ++k)
    sixty += (k ? "$$$" : "") + std::to_string(k) + "||http://a/" + std::to_string(k);
  const std::vector<Headline> limited = ParseHeadlines(sixty);
  ASSERT_EQ(limited.size(), 51U);
  EXPECT_EQ(limited.back().text, "50");
}

TEST(HeadlineFileTest, OnlyWebAddressesOpen) {
  for (const char* link : {"http://a/", "https://a/", "HTTP://A/"}) EXPECT_TRUE(OpensInBrowser(link)) << link;
  for (const char* link :
       {"*", "", "file:///etc/passwd", "javascript:alert(1)", "mivuvod://1", "www.a.com", " http://a/"}) {
    EXPECT_FALSE(OpensInBrowser(link)) << link;
  }
}

struct NewsTickerTest : ::testing::Test {
  ManualScheduler scheduler;
  FakeTextFetcher fetcher;
  FakeUriLauncher uris;
  NewsTicker ticker{scheduler, {fetcher, uris, "http://127.0.0.1:9/", [] { return kRestTop; }}};

  void Tick(int count) { scheduler.Advance(static_cast<std::int64_t>(count) * kTimergIntervalMs); }
  const TickerLabel& La(int k) const { return ticker.La()[static_cast<std::size_t>(k)]; }
};

TEST_F(NewsTickerTest, EachHeadlineRisesHoldsAndMakesWayOnItsHundredAndSecondTick) {
  ticker.FetchAndStart();
  ASSERT_EQ(fetcher.requests, std::vector<std::string>{"http://127.0.0.1:9/lib/gun.txt"});
  // The service writes GB18030.
  fetcher.Answer(EncodeAnsi("甲||http://a/1$$$乙||*$$$\r\n"));
  ASSERT_EQ(ticker.La().size(), 2U);
  EXPECT_EQ(La(1).caption, "乙");
  EXPECT_EQ(La(1).top, kRestTop + 12);
  EXPECT_FALSE(La(1).visible);

  Tick(1);
  EXPECT_TRUE(La(0).visible);
  EXPECT_EQ(La(0).top, kRestTop + 10);
  Tick(5);
  EXPECT_EQ(La(0).top, kRestTop);
  Tick(95);  // tick 101
  EXPECT_TRUE(La(0).visible);
  Tick(1);  // tick 102
  EXPECT_FALSE(La(0).visible);
  EXPECT_EQ(La(0).top, kRestTop + 12);
  EXPECT_FALSE(La(1).visible);
  Tick(1);
  EXPECT_TRUE(La(1).visible);
  Tick(101);  // the last one hands back to the first
  EXPECT_FALSE(La(1).visible);
  Tick(1);
  EXPECT_TRUE(La(0).visible);
}

TEST_F(NewsTickerTest, APointerOnTheHeadlineHoldsItUntilItMovesToTheBar) {
  ticker.Load("甲||http://a/1$$$乙||http://a/2");
  Tick(50);
  ticker.PointerOverLabel(0);
  EXPECT_TRUE(La(0).underlined);
  Tick(52 + 102 * 3);
  EXPECT_TRUE(La(0).visible);

  ticker.PointerOverBar();
  EXPECT_FALSE(La(0).underlined);
  Tick(101);  // a held headline starts a whole new hold
  EXPECT_TRUE(La(0).visible);
  Tick(1);
  EXPECT_FALSE(La(0).visible);
  Tick(1);
  EXPECT_TRUE(La(1).visible);
}

TEST_F(NewsTickerTest, AClickOpensOnlyWebLinksAndEndsTheHoverUntilThePointerLeaves) {
  ticker.Load("甲||*$$$乙||http://a/2$$$丙||javascript:alert(1)");
  Tick(10);
  ticker.PointerOverLabel(0);
  ticker.ClickLabel(0);
  EXPECT_TRUE(uris.opened.empty());
  EXPECT_FALSE(La(0).underlined);
  ticker.PointerOverLabel(0);  // still the click's: no underline
  EXPECT_FALSE(La(0).underlined);

  ticker.ClickLabel(1);
  ticker.ClickLabel(2);
  EXPECT_EQ(uris.opened, std::vector<std::string>{"http://a/2"});
  ticker.PointerOverBar();
  ticker.PointerOverLabel(0);
  EXPECT_TRUE(La(0).underlined);
}

TEST_F(NewsTickerTest, ASingleHeadlineStandsStill) {
  ticker.Load("唯一||http://a/1\r\n");
  ASSERT_EQ(ticker.La().size(), 1U);
  EXPECT_TRUE(La(0).visible);
  EXPECT_EQ(La(0).left, 470);
  EXPECT_EQ(La(0).top, 16);
  EXPECT_EQ(scheduler.active(), 0U);
}

TEST_F(NewsTickerTest, AFailedOrUnseparatedReplyLeavesTheTickerOff) {
  ticker.FetchAndStart();
  fetcher.Answer("");
  ticker.Load("Taviro 2.4\r\n");
  EXPECT_EQ(scheduler.active(), 0U);
  ASSERT_EQ(ticker.La().size(), 1U);
  EXPECT_FALSE(La(0).visible);
  EXPECT_EQ(La(0).caption, "");
}

}  // namespace
}  // namespace taviro
