#include <gtest/gtest.h>

#include "poller_fixture.h"
#include "window/chrome_faces.h"
#include "window/chrome_state.h"

namespace taviro {
namespace {

using R = RegionId;
using Texts = std::vector<std::string>;

class StatusPollerTest : public testing::PollerFixture {};

TEST_F(StatusPollerTest, NothingLoadedShowsReadyAndTheTimeOfDay) {
  player().url.clear();
  SetPlayingShown(Model(), true);
  Tick();
  EXPECT_EQ(Model()[BoBut(0)].tooltip, "播放");
  EXPECT_EQ(Caption(R::zhun), "准备就绪");
  EXPECT_EQ(Model()[R::zhun].rect.width, 4 * testing::FixedWidthTextMetrics::kCharWidth);
  EXPECT_EQ(Caption(R::times), "21:05:09");
  EXPECT_EQ(Box(R::times).left, Box(R::qvod).width - 72 - 13);
  EXPECT_EQ(Box(R::huan).left, -30);
}

TEST_F(StatusPollerTest, StateTextsKeepTheirOwnSpacing) {
  struct Case {
    PlayerState state;
    int speed, rate, position;
    const char* text;
  };
  const Case cases[] = {
      {PlayerState::kIdle, 9, 0, 10, "停止播放"},
      {PlayerState::kPaused, 0, 0, 10, "已暂停"},
      {PlayerState::kPaused, 12, 0, 10, "已暂停 (12Kbps/S)"},
      {PlayerState::kPlaying, 12, 34, 7, "播放中(12 Kbps/S)"},
      {PlayerState::kPlaying, 12, 34, 6, "播放中(34 Kbps)"},
      {PlayerState::kPlaying, 0, 34, 99, "播放中(34 Kbps)"},
      {PlayerState::kBuffering, 12, 0, 10, "正在缓冲 (12Kbps/S)"},
      {PlayerState::kConnecting, 12, 0, 10, "正在连接 (12KB/S)"},
      {PlayerState::kStopping, 0, 0, 10, "正在停止"},
      {static_cast<PlayerState>(12), 0, 0, 10, "正在停止"},  // unknown: unchanged
  };
  for (const Case& c : cases) {
    Reading(c.state, c.position, 1000);
    player().transfer_rate = c.speed;
    player().second_rate = c.rate;
    Tick();
    EXPECT_EQ(Caption(R::zhun), c.text) << "state " << static_cast<int>(c.state);
  }
}

// A wait with nothing arriving is named after 15 ticks; a byte, or a
// state that is not a wait, starts the count again. State changes between
// ticks do not count.
TEST_F(StatusPollerTest, AWaitWithoutBytesIsNamedAfterFifteenTicks) {
  Reading(PlayerState::kConnecting, 0, 1000);
  player().transfer_rate = 0;
  for (int i = 0; i < 14; ++i) Tick();
  for (int i = 0; i < 5; ++i) poller.OnPlayerStateChanged();
  EXPECT_EQ(Caption(R::zhun), "正在连接 (0KB/S)");
  Tick();
  EXPECT_EQ(Caption(R::zhun), "连接超时，正在重试");
  Reading(PlayerState::kBuffering, 10, 1000);
  Tick();
  EXPECT_EQ(Caption(R::zhun), "连接超时，正在重试");

  player().transfer_rate = 3;
  Tick();
  EXPECT_EQ(Caption(R::zhun), "正在缓冲 (3Kbps/S)");
  player().transfer_rate = 0;
  for (int i = 0; i < 14; ++i) Tick();
  EXPECT_EQ(Caption(R::zhun), "正在缓冲 (0Kbps/S)");
}

TEST_F(StatusPollerTest, TimeLabelAndBarsFollowPositionAndDownload) {
  Reading(PlayerState::kPlaying, 185, 2710, 250);
  Tick();
  EXPECT_EQ(Caption(R::times), "03:05 / 45:10");
  EXPECT_EQ(Box(R::gunt1).left, 33);  // 185 / 2710 of the 490-pixel travel
  EXPECT_EQ(Box(R::gunt2).width, 33);
  EXPECT_EQ(Model()[R::gunt1].tooltip, "03:05");
  EXPECT_EQ(Box(R::huan).left, 0);
  EXPECT_EQ(Box(R::huan).width, 125);

  Reading(PlayerState::kPlaying, 3725, 7200, 0);
  Tick();
  EXPECT_EQ(Caption(R::times), "1:02:05 / 2:00:00");
  EXPECT_EQ(Box(R::huan).left, -30);
  EXPECT_EQ(Box(R::huan).width, 0);
}

TEST_F(StatusPollerTest, PlayButtonAndPanelsFollowTheState) {
  Model()[R::bo_ad].visible = Model()[R::next_s].visible = true;
  Reading(PlayerState::kPlaying, 10, 1000);
  Tick();
  EXPECT_EQ(Model()[BoBut(0)].tooltip, "暂停");
  EXPECT_EQ(Model()[BoBut(0)].face.x, 116);
  EXPECT_EQ(Shown(), (Texts{"Qvodx"}));

  Model().pause_panel = AdPanel::kEnabled;
  Reading(PlayerState::kPaused, 10, 1000);
  Tick();
  EXPECT_EQ(Model()[BoBut(0)].tooltip, "播放");
  EXPECT_EQ(Model()[BoBut(0)].face.x, 0);
  EXPECT_EQ(Shown(), (Texts{"bo_ad", "ad_huan"}));

  Model().banner_panel = AdPanel::kEnabled;
  player().full_screen = true;
  Reading(PlayerState::kIdle, 10, 1000);
  Tick();
  EXPECT_EQ(Shown(), (Texts{"bo_ad", "bo_pad"}));
  EXPECT_FALSE(player().full_screen);

  // The end of a file leaves the play face, not the pause face, beside
  // "播放结束".
  Reading(PlayerState::kPlaying, 10, 1000);
  Tick();
  Reading(PlayerState::kEnded, 10, 1000);
  Tick();
  EXPECT_EQ(Caption(R::zhun), "播放结束");
  EXPECT_EQ(Model()[BoBut(0)].tooltip, "播放");
  EXPECT_EQ(Model()[BoBut(0)].face.x, 0);
}

// Waiting for bytes pauses nothing: the picture is not covered by the
// still cover or the pause advertisement, whatever the switch file says,
// neither before the first picture nor after one.
TEST_F(StatusPollerTest, AWaitForBytesLeavesThePictureUncovered) {
  Model().pause_panel = AdPanel::kEnabled;
  Model()[R::bo_ad].visible = true;  // as a stop leaves it before the next item
  Reading(PlayerState::kConnecting, 0, 0);
  Tick();
  EXPECT_EQ(Shown(), (Texts{"Qvodx"}));
  Reading(PlayerState::kPlaying, 10, 1000);
  Tick();
  for (PlayerState waiting :
       {PlayerState::kBuffering, PlayerState::kConnecting, PlayerState::kReconnecting}) {
    Reading(waiting, 11, 1000);
    Tick();
    poller.OnPlayerStateChanged();
    EXPECT_EQ(Shown(), (Texts{"Qvodx"})) << static_cast<int>(waiting);
    EXPECT_EQ(Model()[BoBut(0)].tooltip, "暂停");
  }
  EXPECT_EQ(Caption(R::zhun), "重连中");
}

// The poll says "播放" on the button while nothing plays, and repaints it
// only when that changes: the hover look stays under the pointer.
TEST_F(StatusPollerTest, TheIdlePollLeavesAHoveredPlayButtonsLookAlone) {
  const Tile hovered = ControlButtonFace(Model(), 0, true);
  Model()[BoBut(0)].face = hovered;
  for (const char* url : {"", "http://127.0.0.1:18080/media/a.ts"}) {
    player().url = url;
    for (PlayerState state : {PlayerState::kIdle, PlayerState::kStopped}) {
      Reading(state, 0, 0);
      Tick(2);
      poller.OnPlayerStateChanged();
      EXPECT_EQ(Model()[BoBut(0)].face, hovered) << url << static_cast<int>(state);
      EXPECT_EQ(Model()[BoBut(0)].tooltip, "播放");
    }
  }
}

// The video shows when the player starts, not at the next whole second; a
// stopped poll stays stopped, and the second-by-second rhythm is kept.
TEST_F(StatusPollerTest, APlayerStateChangePollsAtOnceOnlyWhilePolling) {
  Model()[R::bo_ad].visible = true;
  Reading(PlayerState::kPlaying, 0, 1000);
  scheduler.Advance(300);
  poller.OnPlayerStateChanged();
  EXPECT_EQ(Shown(), (Texts{"Qvodx"}));
  EXPECT_EQ(Caption(R::zhun), "播放中(0 Kbps)");

  Reading(PlayerState::kPaused, 1, 1000);
  scheduler.Advance(700);
  EXPECT_EQ(Caption(R::zhun), "已暂停");

  timer1.SetEnabled(false);
  Reading(PlayerState::kPlaying, 1, 1000);
  poller.OnPlayerStateChanged();
  EXPECT_EQ(Caption(R::zhun), "已暂停");
}

// When play starts the player cannot yet say how much has arrived; taking
// that as nothing would lose the stored position for good.
TEST_F(StatusPollerTest, AStateChangeShowsPlayButLeavesTheResumeToTheNextTick) {
  now.item_kind = ItemKind::kCatalogue;
  now.ResumePosition = 8;
  now.resume_done = false;
  Model()[R::bo_ad].visible = true;
  Reading(PlayerState::kPlaying, 0, 20, 0);
  scheduler.Advance(300);
  poller.OnPlayerStateChanged();
  EXPECT_EQ(Shown(), (Texts{"Qvodx"}));
  EXPECT_EQ(Model()[BoBut(0)].tooltip, "暂停");
  EXPECT_TRUE(harness.log.entries.empty());
  EXPECT_EQ(now.ResumePosition, 8);

  player().download_progress = 1000;
  scheduler.Advance(700);
  EXPECT_EQ(harness.log.entries, Texts{"player.SetPosition(8)"});
  EXPECT_TRUE(now.resume_done);
}

// A state change between ticks shows the picture (and, before the end, the
// status) only: the end of play, list positions, balloons and the next
// episode (whose lookup blocks) are the regular tick's business.
TEST_F(StatusPollerTest, AStateChangeAtTheEndLeavesListsBalloonsAndTheNextEpisodeAlone) {
  const std::string tasks = "12|t|e|u|0|3|30\r\n";
  for (const NextMedia& next_media : {NextMedia{"http://127.0.0.1:1/4.ts"}, NextMedia{}}) {
    harness.folder.Write("date.dat", tasks);
    now.ListKey = "12";
    now.item_kind = ItemKind::kCatalogue;
    now.LastPosition = 17;
    now.CurrentItemKey = "12-0-3-t";
    now.next_episode = NextEpisodeLink{"miqvod://qvod&&&next"};
    now.next_media = next_media;
    now.prefetch_started = false;
    Model()[R::zhun].caption = "播放完毕";
    Reading(PlayerState::kPaused, 19, 20, 1000);
    poller.OnPlayerStateChanged();
    EXPECT_EQ(Caption(R::zhun), "播放完毕");  // the end's word stays
    EXPECT_EQ(Shown(), (Texts{"bo_ad"}));
    EXPECT_FALSE(timer2.Enabled());
    EXPECT_EQ(harness.folder.Read("date.dat"), tasks);
    EXPECT_TRUE(BalloonTexts().empty());
    EXPECT_TRUE(http.requests.empty());
    EXPECT_TRUE(player().prebuffered.empty());
    EXPECT_FALSE(now.prefetch_started);
  }
}

TEST_F(StatusPollerTest, ResumeSeeksOnlyAsFarAsTheDownloadAllows) {
  struct Case {
    int kind, position, progress, seek;  // seek -1: none
  };
  // 900 s stored in a 1000 s item.
  const Case cases[] = {
      {1, 5, 150, -1}, {1, 5, 250, 200}, {1, 5, 950, 900}, {2, 5, 0, 900}, {1, 900, 1000, -1}};
  for (const Case& c : cases) {
    now.item_kind = static_cast<ItemKind>(c.kind);
    now.ResumePosition = 900;
    now.resume_done = false;
    Reading(PlayerState::kPlaying, c.position, 1000, c.progress);
    harness.log.entries.clear();
    Tick();
    EXPECT_EQ(harness.log.entries,
              c.seek < 0 ? Texts{} : Texts{"player.SetPosition(" + std::to_string(c.seek) + ")"})
        << c.kind << " " << c.progress;
    EXPECT_EQ(now.ResumePosition, c.seek < 0 ? c.position : c.seek);
  }
  harness.log.entries.clear();
  player().position = 5;
  Tick();  // once per item
  EXPECT_TRUE(harness.log.entries.empty());
}

TEST_F(StatusPollerTest, NextEpisodeIsPreparedAbove601ThousandthsThenPrebufferedOnce) {
  now.CurrentItemKey = "12-0-3-abc";
  http.bodies["http://127.0.0.1:8080/h.asp?id=12&v=0&v1=4"] = "ep5$http://m/5.ts$qvod";
  Reading(PlayerState::kPlaying, 100, 1000, 601);
  Tick();
  EXPECT_TRUE(http.requests.empty());
  player().download_progress = 602;
  Tick(4);
  EXPECT_EQ(http.requests.size(), 1U);
  EXPECT_EQ(now.next_episode,
            NextEpisode{NextEpisodeLink{"miqvod://qvod&&&http%3A//m/5.ts&&&abc&&&ep5&&&12&&&0&&&4"}});
  EXPECT_EQ(player().prebuffered, Texts{"http://m/5.ts"});
  EXPECT_EQ(BalloonTexts(), Texts{"开始缓冲下一集！"});
}

TEST_F(StatusPollerTest, EndOfANetworkItemClearsItsPositionAndHandsOverToTheNextEpisode) {
  harness.folder.Write("date.dat", "12|abc|ep4|u|0|3|300\r\n");
  now.ListKey = "12";
  now.item_kind = ItemKind::kCatalogue;
  now.next_episode = NextEpisodeLink{"miqvod://qvod&&&next"};
  Reading(PlayerState::kPlaying, 98, 100);
  Tick();
  EXPECT_FALSE(timer2.Enabled());  // 100 - 2 < 98 is false
  player().position = 99;
  Tick();
  EXPECT_EQ(harness.folder.Read("date.dat"), "12|abc|ep4|u|0|3|0\r\n");
  EXPECT_EQ(BalloonTexts(), Texts{"正在准备播放下一集！"});
  Tick(2);
  EXPECT_EQ(Caption(R::zhun), "播放完毕");
  EXPECT_EQ(Shown(), (Texts{"bo_ad", "next_s"}));
  EXPECT_FALSE(timer1.Enabled());
  EXPECT_FALSE(timer2.Enabled());
  EXPECT_EQ(web(2).navigations, Texts{kSentinel});
  EXPECT_EQ(now.LastPosition, 1);
  EXPECT_TRUE(shutdown.requests.empty());
}

// An item at its end is "播放完毕" second after second, not that and the
// player's own word for the end in turn.
TEST_F(StatusPollerTest, AnEndedItemSaysPlayedToTheEndSteadily) {
  Reading(PlayerState::kPlaying, 97, 100);
  Tick();
  Reading(PlayerState::kEnded, 100, 100);
  poller.OnPlayerStateChanged();
  Texts said;
  for (int second = 0; second < 6; ++second) {
    Tick();
    said.push_back(Caption(R::zhun));
  }
  EXPECT_EQ(said,
            (Texts{"播放中(0 Kbps)", "播放中(0 Kbps)", "播放完毕", "播放完毕", "播放完毕", "播放完毕"}));
  EXPECT_TRUE(timer1.Enabled());
}

TEST_F(StatusPollerTest, EndWithoutAPreparedLinkNavigatesOnlyForARetry) {
  const NextEpisode kinds[] = {NextEpisodeRetrying{}, NoNextEpisode{}, NextEpisodeFailed{}};
  for (const NextEpisode& next : kinds) {
    web(2).navigations.clear();
    now.next_episode = next;
    Reading(PlayerState::kPlaying, 5, 0);  // duration not yet known: any running position is the end
    Tick(3);
    EXPECT_EQ(web(2).navigations.size(), std::holds_alternative<NextEpisodeRetrying>(next) ? 1U : 0U)
        << next.index();
    EXPECT_TRUE(timer1.Enabled());
    EXPECT_EQ(Caption(R::times), "00:05 / 00:00");
    EXPECT_EQ(Box(R::gunt1).left, 0);
  }
  EXPECT_TRUE(BalloonTexts().empty());
}

TEST_F(StatusPollerTest, AutoShutdownPowersOffWithForceTwoSecondsAfterTheEnd) {
  harness.window.menu.kaiqi = true;
  now.next_episode = NextEpisodeLink{"miqvod://qvod&&&next"};
  Reading(PlayerState::kPlaying, 100, 100);
  Tick();
  EXPECT_EQ(BalloonTexts(), Texts{"即将播放完毕，正准备自动关机！"});
  EXPECT_TRUE(shutdown.requests.empty());
  Tick(2);
  EXPECT_EQ(shutdown.requests, std::vector<bool>{true});
  EXPECT_FALSE(timer1.Enabled());
  EXPECT_TRUE(web(2).navigations.empty());
}

TEST_F(StatusPollerTest, ARefusedPowerOffIsSaidInABalloonEvenWithBalloonsOff) {
  Balloons(false);
  harness.window.menu.kaiqi = true;
  shutdown.accept = false;
  Reading(PlayerState::kPlaying, 100, 100);
  Tick(3);
  EXPECT_EQ(shutdown.requests, std::vector<bool>{true});
  EXPECT_EQ(BalloonTexts(), Texts{kShutdownRefusedBalloon});
}

TEST_F(StatusPollerTest, WithBalloonsOffTheEndTickStopsEarlyAndNothingIsAnnounced) {
  Balloons(false);
  harness.window.menu.kaiqi = true;
  harness.folder.Write("date_f.dat", "a.ts|/v/a.ts|40\r\n");
  now.ListKey = "/v/a.ts";
  now.item_kind = ItemKind::kLocalFile;
  now.next_media = "http://m/5.ts";
  Reading(PlayerState::kBuffering, 10, 1000, 700);
  Tick();  // pre-buffers silently
  Model()[R::zhun].caption = "kept";
  Reading(PlayerState::kPlaying, 999, 1000, 800);
  Tick();
  EXPECT_EQ(Caption(R::zhun), "kept");
  EXPECT_EQ(Caption(R::times), "00:10 / 16:40");
  EXPECT_EQ(harness.folder.Read("date_f.dat"), "a.ts|/v/a.ts|0\r\n");
  EXPECT_EQ(player().prebuffered.size(), 1U);
  Tick(2);
  EXPECT_EQ(shutdown.requests, std::vector<bool>{true});
  EXPECT_TRUE(BalloonTexts().empty());
}

TEST_F(StatusPollerTest, ALiveItemPlaysOnWithoutADurationAndAnUntrustedServerIsSaid) {
  player().live = true;
  Reading(PlayerState::kPlaying, 40, 0);
  Tick(3);
  EXPECT_EQ(Caption(R::zhun), "直播中");
  EXPECT_FALSE(timer2.Enabled());      // no end reached
  player().stream_title = "晚间新闻";  // as a station names what is on
  Tick();
  EXPECT_EQ(Caption(R::zhun), "直播中 晚间新闻");
  EXPECT_TRUE(BalloonTexts().empty());

  player().live = false;
  player().untrusted = true;
  Reading(PlayerState::kStopped, 0, 0);
  Tick();
  EXPECT_EQ(Caption(R::zhun), "证书无效");
}

}  // namespace
}  // namespace taviro
