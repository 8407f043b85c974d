#include <gtest/gtest.h>

#include "app/ansi_text.h"
#include "playback/item_key.h"
#include "poller_fixture.h"

namespace taviro {
namespace {

constexpr const char* kRetryBalloon = "读取下一集数据出错，稍后将重新读取！";

std::string Request(int id, int source, int episode) {
  return "http://127.0.0.1:8080/h.asp?id=" + std::to_string(id) + "&v=" + std::to_string(source) +
         "&v1=" + std::to_string(episode);
}

class EpisodeResolverTest : public testing::PollerFixture {
 protected:
  EpisodeResolverTest() { now.CurrentItemKey = "7-1-4-x%u4E2D"; }
};

TEST_F(EpisodeResolverTest, PreparationOffOrNothingPlayingSendsNoRequest) {
  harness.SetSetting("S_q", "s_h", "1");
  now.NextLink = "3";
  resolver.ResolveNextEpisode();
  EXPECT_EQ(now.NextLink, "0");
  harness.SetSetting("S_q", "s_h", "2");
  for (const char* key : {"0", "", "12"}) {
    now.CurrentItemKey = key;
    resolver.ResolveNextEpisode();
    resolver.StepEpisode(2);
  }
  EXPECT_TRUE(http.requests.empty());
}

TEST_F(EpisodeResolverTest, ServiceAnswersSetTheNextEpisodeState) {
  http.bodies[Request(7, 1, 5)] = "1";
  resolver.ResolveNextEpisode();
  EXPECT_EQ(now.NextLink, "1");
  EXPECT_EQ(now.NextMediaUrl, "1");
  http.bodies[Request(7, 1, 5)] = "0";
  resolver.ResolveNextEpisode();
  EXPECT_EQ(now.NextLink, "0");
  EXPECT_EQ(now.NextMediaUrl, "0");
  EXPECT_FALSE(timer4.Enabled());
  EXPECT_TRUE(BalloonTexts().empty());

  // The reply's kind is not used, and the reply is in the system's code page.
  http.bodies[Request(7, 1, 5)] = EncodeAnsi("第6集$http://m/a b.ts$web");
  now.PrefetchStarted = 1;
  resolver.ResolveNextEpisode();
  EXPECT_EQ(now.NextLink, "miqvod://qvod&&&http%3A//m/a%20b.ts&&&x%u4E2D&&&第6集&&&7&&&1&&&5");
  EXPECT_EQ(now.NextMediaUrl, "http://m/a b.ts");
  EXPECT_EQ(now.PrefetchStarted, 0);
}

TEST_F(EpisodeResolverTest, AFailedRequestIsRetriedOnTheSecondTickOfTimer4) {
  Balloons(false);  // this notice is shown regardless
  http.bodies[Request(7, 1, 5)] = "<html>error</html>";
  resolver.ResolveNextEpisode();
  EXPECT_EQ(now.NextLink, "3");
  EXPECT_EQ(now.NextMediaUrl, "0");
  EXPECT_EQ(now.PrefetchStarted, 1);
  EXPECT_EQ(BalloonTexts(), std::vector<std::string>{kRetryBalloon});
  EXPECT_TRUE(timer4.Enabled());

  timer1.SetEnabled(false);
  http.bodies[Request(7, 1, 5)] = "e6$http://m/6.ts$qvod";
  scheduler.Advance(99'999);
  EXPECT_EQ(http.requests.size(), 1U);
  scheduler.Advance(1);
  EXPECT_EQ(http.requests.size(), 2U);
  EXPECT_EQ(now.NextMediaUrl, "http://m/6.ts");
  EXPECT_EQ(now.PrefetchStarted, 0);
  EXPECT_EQ(now.RetryTicks, 0);
  EXPECT_FALSE(timer4.Enabled());
}

TEST_F(EpisodeResolverTest, AFailedRetryLeavesThePollerFreeToAskAgain) {
  now.CurrentItemKey = "7-1-4-x";
  Reading(3, 10, 1000, 700);
  Tick();  // the poller's request fails
  EXPECT_EQ(http.requests.size(), 1U);
  Tick(100);
  EXPECT_EQ(http.requests.size(), 2U);  // the timed retry, 100 s later, failing too
  Tick();
  EXPECT_EQ(http.requests.size(), 3U);  // the poller, a second after it
  EXPECT_EQ(now.PrefetchStarted, 1);
  EXPECT_EQ(BalloonTexts().size(), 3U);
}

TEST_F(EpisodeResolverTest, StepPlaysTheNeighbourWithTheReplysKind) {
  http.bodies[Request(7, 1, 3)] = "e3$http://m/3.ts$web";
  resolver.StepEpisode(1);
  EXPECT_EQ(web(1).navigations,
            std::vector<std::string>{"miqvod://web&&&http%3A//m/3.ts&&&x%u4E2D&&&e3&&&7&&&1&&&3&&&0"});

  // First and last episodes: nothing before the first is asked for, and "0"
  // after the last plays nothing.
  now.CurrentItemKey = "5-0-0-x";
  http.bodies[Request(5, 0, 1)] = "0";
  resolver.StepEpisode(1);
  resolver.StepEpisode(2);
  EXPECT_EQ(http.requests, (std::vector<std::string>{Request(7, 1, 3), Request(5, 0, 1)}));
  EXPECT_EQ(web(1).navigations.size(), 1U);
}

TEST(ItemKey, ATitleWithADashIsCutAndMissingFieldsAreEmpty) {
  const std::optional<ItemKey> key = ParseItemKey("7-1-4-a-b-c");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->title, "a");
  EXPECT_EQ(key->episode, 4);
  const std::optional<ItemKey> short_key = ParseItemKey("7-1");
  ASSERT_TRUE(short_key);
  EXPECT_EQ(short_key->source, 1);
  EXPECT_EQ(short_key->episode, 0);
  EXPECT_EQ(short_key->title, "");
}

}  // namespace
}  // namespace taviro
