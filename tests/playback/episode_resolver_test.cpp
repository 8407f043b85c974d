#include <gtest/gtest.h>

#include <tuple>

#include "playback/catalogue_links.h"
#include "poller_fixture.h"
#include "util/ansi_text.h"

namespace taviro {
namespace {

using Texts = std::vector<std::string>;

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
  now.next_episode = NextEpisodeRetrying{};
  resolver.ResolveNextEpisode();
  EXPECT_EQ(now.next_episode, NextEpisode{NoNextEpisode{}});
  harness.SetSetting("S_q", "s_h", "2");
  for (const char* key : {"0", "", "12"}) {
    now.CurrentItemKey = key;
    resolver.ResolveNextEpisode();
    resolver.StepEpisode(2);
  }
  EXPECT_TRUE(http.requests.empty());
}

TEST_F(EpisodeResolverTest, AnEpisodeReplyGivesThePlayLinkAndTheAddressToPrebuffer) {
  // The reply's kind is not used, and the reply is in the system's code page.
  http.bodies[Request(7, 1, 5)] = EncodeAnsi("第6集$http://m/a b.ts$web");
  now.prefetch_started = true;
  resolver.ResolveNextEpisode();
  EXPECT_EQ(
      now.next_episode,
      NextEpisode{NextEpisodeLink{"miqvod://qvod&&&http%3A//m/a%20b.ts&&&x%u4E2D&&&第6集&&&7&&&1&&&5"}});
  EXPECT_EQ(now.next_media, NextMedia{"http://m/a b.ts"});
  EXPECT_FALSE(now.prefetch_started);
}

// "0" says there is no next episode, "1" that the service failed; blanks
// and line ends around a reply are not part of it.
TEST_F(EpisodeResolverTest, NoNextEpisodeOrAFailureIsToldApartAndNeitherPrebuffers) {
  http.bodies[Request(7, 1, 5)] = "0\r\n";
  resolver.ResolveNextEpisode();
  EXPECT_EQ(now.next_episode, NextEpisode{NoNextEpisode{}});
  EXPECT_EQ(now.next_media, NextMedia{NextMediaUnresolved{}});
  http.bodies[Request(7, 1, 5)] = " 1 \n";
  resolver.ResolveNextEpisode();
  EXPECT_EQ(now.next_episode, NextEpisode{NextEpisodeFailed{}});
  EXPECT_EQ(now.next_media, NextMedia{NextMediaRefused{}});
  EXPECT_FALSE(timer4.Enabled());
  EXPECT_TRUE(BalloonTexts().empty());

  // A step keeps the reply's kind, without the line end after it.
  http.bodies[Request(7, 1, 5)] = "e5$http://m/5.ts$qvod\r\n";
  resolver.StepEpisode(2);
  EXPECT_EQ(harness.web[1].Address(), "miqvod://qvod&&&http%3A//m/5.ts&&&x%u4E2D&&&e5&&&7&&&1&&&5&&&0");
}

TEST_F(EpisodeResolverTest, ANextEpisodeThePlayerMustNotOpenIsNeverPrebuffered) {
  http.bodies[Request(7, 1, 5)] = "n$fdclose://7$qvod";
  resolver.ResolveNextEpisode();
  EXPECT_EQ(now.next_episode, NextEpisode{NextEpisodeFailed{}});
  now.next_media = "fd://3";  // however it got there
  Reading(PlayerState::kPlaying, 10, 1000, 700);
  Tick();
  EXPECT_TRUE(player().prebuffered.empty());
  EXPECT_EQ(now.next_media, NextMedia{NextMediaRefused{}});
}

TEST_F(EpisodeResolverTest, AFailedRequestIsRetriedOnTheSecondTickOfTimer4) {
  Balloons(false);  // this notice is shown regardless
  now.CurrentItemKey = "7-1-4-x";
  Reading(PlayerState::kPlaying, 10, 1000, 700);
  Tick();  // the poller asks; no answer
  EXPECT_EQ(now.next_episode, NextEpisode{NextEpisodeRetrying{}});
  EXPECT_TRUE(now.prefetch_started);
  EXPECT_EQ(BalloonTexts(), Texts{"读取下一集数据出错，稍后将重新读取！"});
  Tick(99);
  EXPECT_EQ(http.requests.size(), 1U);
  Tick();  // the timed retry, failing too
  EXPECT_EQ(http.requests.size(), 2U);
  Tick();  // lets the poller ask again at once
  EXPECT_EQ(http.requests.size(), 3U);

  http.bodies[Request(7, 1, 5)] = "e6$http://m/6.ts$qvod";
  Tick(100);
  EXPECT_EQ(http.requests.size(), 4U);
  EXPECT_EQ(now.next_media, NextMedia{"http://m/6.ts"});
  EXPECT_FALSE(timer4.Enabled());
  Tick();
  EXPECT_EQ(player().prebuffered, Texts{"http://m/6.ts"});
}

// The service answers later: the poller asks once per item meanwhile, and
// an answer about an item no longer playing prepares nothing.
TEST_F(EpisodeResolverTest, OneQuestionPerItemAndALateAnswerForAnotherItemIsDropped) {
  http.answer_at_once = false;
  http.bodies[Request(7, 1, 5)] = "e5$http://m/5.ts$qvod";
  Reading(PlayerState::kPlaying, 10, 1000, 700);
  Tick(3);
  EXPECT_EQ(http.requests, Texts{Request(7, 1, 5)});
  now.CurrentItemKey = "8-0-1-y";
  ASSERT_TRUE(http.AnswerOldest());
  EXPECT_EQ(now.next_episode, NextEpisode{NoNextEpisode{}});
  EXPECT_EQ(now.next_media, NextMedia{NextMediaUnresolved{}});

  // A step pressed twice before an answer plays the second press's episode
  // only, and none once the user has moved to another item.
  now.CurrentItemKey = "7-1-4-x";
  http.bodies[Request(7, 1, 3)] = "e3$http://m/3.ts$qvod";
  resolver.StepEpisode(1);
  resolver.StepEpisode(2);
  while (http.AnswerNewest()) {
  }
  EXPECT_EQ(web(1).navigations, Texts{"miqvod://qvod&&&http%3A//m/5.ts&&&x&&&e5&&&7&&&1&&&5&&&0"});
  resolver.StepEpisode(2);
  now.CurrentItemKey = "9-0-0-z";
  http.AnswerOldest();
  EXPECT_EQ(web(1).navigations.size(), 1U);
}

TEST_F(EpisodeResolverTest, StepPlaysTheNeighbourWithTheReplysKind) {
  now.CurrentItemKey = "7-1-4-x%u4E2D-y";  // fields after the title are ignored
  http.bodies[Request(7, 1, 3)] = "e3$http://m/3.ts$web";
  resolver.StepEpisode(1);
  EXPECT_EQ(web(1).navigations, Texts{"miqvod://web&&&http%3A//m/3.ts&&&x%u4E2D&&&e3&&&7&&&1&&&3&&&0"});

  // A neighbour whose name holds the link's separator still plays itself.
  web(1).navigations.clear();
  http.bodies[Request(7, 1, 5)] = "e&&&0&&&99$http://m/5.ts$qvod";
  resolver.StepEpisode(2);
  ASSERT_EQ(web(1).navigations.size(), 1U);
  const PlayLink step = ParsePlayLink(web(1).navigations[0]);
  EXPECT_EQ(std::make_tuple(step.id, step.source, step.episode, step.flag),
            std::make_tuple(7, std::string("1"), std::string("5"), std::string("0")));
  web(1).navigations.clear();
  http.requests.clear();

  // Nothing before the first episode is asked for; "0" after the last plays
  // nothing.
  now.CurrentItemKey = "5-0-0-x";
  http.bodies[Request(5, 0, 1)] = "0";
  resolver.StepEpisode(1);
  resolver.StepEpisode(2);
  EXPECT_EQ(http.requests, (Texts{Request(5, 0, 1)}));
  EXPECT_TRUE(web(1).navigations.empty());
}

}  // namespace
}  // namespace taviro
