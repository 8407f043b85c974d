#include "playback/control_bar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/control_bar_harness.h"
#include "util/ansi_text.h"
#include "window/chrome_state.h"

namespace taviro {
namespace {

using R = RegionId;
using Log = std::vector<std::string>;

class ControlBarTest : public ::testing::Test {
 protected:
  // An item playing in the player, on the player tab.
  void Playing() {
    m.ContentMode = ContentMode::kPlayer;
    m.main_tab = MainTab::kPlayer;
    t.player.url = "/films/a.mp4";
    t.player.state = PlayerState::kPlaying;
    SetPlayingShown(m, true);
  }
  Log Press(int index) {
    t.h.log.entries.clear();
    t.bar.MouseDown(index, MouseButton::kLeft);
    t.bar.Click(index);
    return t.h.log.entries;
  }
  std::string ListBytes(std::string_view name) { return t.h.folder.Read(name); }

  testing::ControlBarHarness t;
  WindowModel& m = t.model;
};

TEST_F(ControlBarTest, PlayAndPauseFollowTheButtonsTooltip) {
  m.ContentMode = ContentMode::kPlayer;
  m.main_tab = MainTab::kCatalogue;
  m.pause_panel = AdPanel::kEnabled;
  t.now.resume_done = true;
  t.timer1.SetEnabled(false);

  EXPECT_EQ(Press(0), Log{"player.Play"});
  EXPECT_EQ(m[BoBut(0)].tooltip, "暂停");
  EXPECT_EQ(m[BoBut(0)].face, (Tile{12, 116, 0, 58, 43}));
  EXPECT_FALSE(t.now.resume_done);
  EXPECT_EQ(m.main_tab, MainTab::kPlayer);
  EXPECT_TRUE(m[R::zz].visible);
  EXPECT_FALSE(m[R::bo_ad].visible);
  EXPECT_TRUE(m[R::Qvodx].visible);
  EXPECT_TRUE(t.timer1.Enabled());

  m[R::bo_pad].visible = true;
  EXPECT_EQ(Press(0), Log{"player.Pause"});
  EXPECT_EQ(m[BoBut(0)].tooltip, "播放");
  EXPECT_EQ(m[BoBut(0)].face, (Tile{12, 0, 0, 58, 43}));
  EXPECT_EQ(m[R::zhun].caption, "已暂停");
  EXPECT_EQ(m[R::zhun].rect.width, 3 * 7);  // the label fits its new text
  EXPECT_TRUE(m[R::bo_ad].visible);
  EXPECT_FALSE(m[R::Qvodx].visible);
  EXPECT_TRUE(m[R::ad_huan].visible);
  EXPECT_FALSE(m[R::bo_pad].visible);

  // Without the service's switch the advert panels stay as they are.
  m.pause_panel = AdPanel::kFailed;
  m[R::ad_huan].visible = false;
  m[R::bo_pad].visible = true;
  Press(0);
  Press(0);
  EXPECT_FALSE(m[R::ad_huan].visible);
  EXPECT_TRUE(m[R::bo_pad].visible);
  EXPECT_TRUE(m[R::bo_ad].visible);
}

TEST_F(ControlBarTest, PlayPauseAndStopNeedThePlayerOnShowButMuteDoesNot) {
  for (ContentMode mode : {ContentMode::kNothingShown, ContentMode::kWebPlayPage, ContentMode::kTvPage}) {
    Playing();
    m.ContentMode = mode;
    t.now.ListKey = "7";
    t.now.item_kind = ItemKind::kCatalogue;
    t.now.LastPosition = 99;
    t.h.folder.Write("date.dat", "7|t|e|u|0|0|5\r\n");
    const WindowModel before = m;
    EXPECT_EQ(Press(0), Log{}) << static_cast<int>(mode);
    EXPECT_EQ(Press(1), Log{}) << static_cast<int>(mode);
    EXPECT_EQ(testing::ModelChanges(before, m), "") << static_cast<int>(mode);
    EXPECT_TRUE(t.timer1.Enabled());
    EXPECT_EQ(t.now.LastPosition, 99);
    EXPECT_EQ(ListBytes("date.dat"), "7|t|e|u|0|0|5\r\n");

    SetMutedShown(m, false);
    EXPECT_EQ(Press(2), Log{"player.SetMuted(true)"}) << static_cast<int>(mode);
  }
}

TEST_F(ControlBarTest, MuteTogglesTooltipMenuCaptionAndFace) {
  EXPECT_EQ(t.window.menu.q_yin, "静音");
  EXPECT_EQ(Press(2), Log{"player.SetMuted(true)"});
  EXPECT_EQ(m[BoBut(2)].tooltip, "取消静音");
  EXPECT_EQ(t.window.menu.q_yin, "取消静音");
  EXPECT_EQ(m[BoBut(2)].face, (Tile{14, 50, 0, 25, 25}));
  EXPECT_EQ(Press(2), Log{"player.SetMuted(false)"});
  EXPECT_EQ(m[BoBut(2)].tooltip, "静音");
  EXPECT_EQ(t.window.menu.q_yin, "静音");
  EXPECT_EQ(m[BoBut(2)].face, (Tile{14, 0, 0, 25, 25}));
}

TEST_F(ControlBarTest, FullScreenOnlyWhilePlayingAndNeverFromATopmostWindow) {
  Playing();
  m.main_tab = MainTab::kCatalogue;
  for (PlayerState state : {PlayerState::kIdle, PlayerState::kStopped, PlayerState::kPaused,
                            PlayerState::kBuffering, PlayerState::kEnded}) {
    t.player.state = state;
    EXPECT_EQ(Press(3), Log{}) << static_cast<int>(state);
    EXPECT_EQ(m.main_tab, MainTab::kCatalogue);
  }
  t.player.state = PlayerState::kPlaying;
  SetTopmostShown(m, true);
  m.topmost = true;
  EXPECT_EQ(Press(3), (Log{"host.SetTopmost(false)", "player.SetFullScreen(true)"}));
  EXPECT_EQ(m[Npc(4)].tooltip, "置顶");
  EXPECT_EQ(m.main_tab, MainTab::kPlayer);
  EXPECT_EQ(m[BoBut(3)].face, (Tile{16, 50, 0, 25, 25}));

  EXPECT_EQ(Press(3), Log{"player.SetFullScreen(true)"});  // not topmost: left as it is
}

TEST_F(ControlBarTest, StopResetsTheBarsAndTheStatusStrip) {
  Playing();
  m.banner_panel = AdPanel::kEnabled;
  m[R::ad_huan].visible = true;
  m[R::qvod].rect.width = 700;
  m[R::times].rect = Rect{400, 3, 72, 16};
  m[R::times].caption = "01:00 / 45:00";
  m[R::bo_name].caption = "第一集";
  m[R::gunt1].rect.left = 120;
  m[R::gunt2].rect.width = 120;
  m[R::huan].rect = Rect{0, 0, 300, 7};
  t.now.ResumePosition = 60;

  EXPECT_EQ(Press(1), Log{"player.Stop"});
  EXPECT_TRUE(m[R::bo_pad].visible);
  EXPECT_FALSE(m[R::ad_huan].visible);
  EXPECT_TRUE(m[R::bo_ad].visible);
  EXPECT_FALSE(m[R::Qvodx].visible);
  EXPECT_FALSE(t.timer1.Enabled());
  EXPECT_EQ(t.now.LastPosition, 0);
  EXPECT_EQ(t.now.ResumePosition, 0);
  EXPECT_EQ(m[R::gunt1].rect.left, 0);
  EXPECT_EQ(m[R::gunt2].rect.width, 0);
  EXPECT_EQ(m[R::huan].rect, (Rect{0, 0, 0, 7}));
  EXPECT_EQ(m[R::bo_name].caption, "");
  EXPECT_EQ(m[R::bo_name].rect.width, 0);
  EXPECT_EQ(m[R::times].rect, (Rect{615, 3, 72, 16}));
  EXPECT_EQ(m[R::times].caption, "");
  EXPECT_EQ(m[BoBut(0)].tooltip, "播放");
  EXPECT_EQ(m[BoBut(0)].face, (Tile{12, 0, 0, 58, 43}));
  EXPECT_EQ(m[BoBut(1)].face, (Tile{13, 0, 0, 25, 25}));
  EXPECT_EQ(m[R::zhun].caption, "已停止");

  // Stopping leaves the poller off until something plays again.
  t.scheduler.Advance(5000);
  EXPECT_EQ(t.timer1_ticks, 0);
}

TEST_F(ControlBarTest, StopStoresThePositionReachedInTheItemsList) {
  const std::string tasks = "12|%u7B2C|ep|url|0|3|0\r\n 7|t|e|u|1|2|50\r\n12|x|y|z|2|2|9\r\n";
  const std::string files =
      EncodeAnsi("a.mp4|/films/a.mp4|0") + "\r\n" + EncodeAnsi("第二.rm|/films/第二.rm|8") + "\r\n";
  struct Case {
    std::string list_key;
    int kind;
    int last_position;
    std::string tasks_after;
    std::string files_after;
  } cases[] = {
      {"0", 1, 300, tasks, files},
      {"12", 1, 0, tasks, files},
      {"/films/a.mp4", 2, 0, tasks, files},
      {"12", 1, 345, "12|%u7B2C|ep|url|0|3|345\r\n 7|t|e|u|1|2|50\r\n12|x|y|z|2|2|345\r\n", files},
      {"7", 1, 61, "12|%u7B2C|ep|url|0|3|0\r\n7|t|e|u|1|2|61\r\n12|x|y|z|2|2|9\r\n", files},
      {"/films/第二.rm", 2, 1234, tasks,
       EncodeAnsi("a.mp4|/films/a.mp4|0") + "\r\n" + EncodeAnsi("第二.rm|/films/第二.rm|1234") + "\r\n"},
      {"12", 0, 345, tasks, files},  // a kind of item no list holds
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list_key + " " + std::to_string(c.last_position));
    t.h.folder.Write("date.dat", tasks);
    t.h.folder.Write("date_f.dat", files);
    Playing();
    t.now.ListKey = c.list_key;
    t.now.item_kind = static_cast<ItemKind>(c.kind);
    t.now.LastPosition = c.last_position;
    Press(1);
    EXPECT_EQ(ListBytes("date.dat"), c.tasks_after);
    EXPECT_EQ(ListBytes("date_f.dat"), c.files_after);
    EXPECT_EQ(t.now.LastPosition, 0);
  }
  EXPECT_TRUE(t.views.shown.empty());  // positions are not on the pages
}

TEST_F(ControlBarTest, ACancelledFileDialogLeavesEverythingAsItWas) {
  Playing();
  t.now.ListKey = "5";
  t.now.item_kind = ItemKind::kCatalogue;
  t.now.LastPosition = 40;
  t.h.folder.Write("date_f.dat", "\r\n");
  const WindowModel before = m;
  EXPECT_EQ(Press(4), Log{});
  ASSERT_EQ(t.files.requests.size(), 1U);
  EXPECT_EQ(t.files.requests[0].title, "选择播放文件");
  EXPECT_EQ(t.files.requests[0].filter,
            "影音文件|*.rm;*.rmvb;*.wmv;*.mp3;*wma;*mid;*wav;*mpg;*mp4|所有文件|*.*");
  EXPECT_EQ(testing::ModelChanges(before, m), "");
  EXPECT_EQ(t.now.ListKey, "5");
  EXPECT_EQ(t.now.item_kind, ItemKind::kCatalogue);
  EXPECT_EQ(t.now.LastPosition, 40);
  EXPECT_EQ(t.player.url, "/films/a.mp4");
  EXPECT_EQ(ListBytes("date_f.dat"), "\r\n");
}

TEST_F(ControlBarTest, AnOpenedFileReplacesTheItemPlayingAndJoinsTheLocalList) {
  Playing();
  m.main_tab = MainTab::kCatalogue;
  m.side_tab = SideTab::kTasks;
  m[R::bo_zt].rect.width = 700;
  t.now.ListKey = "/films/a.mp4";
  t.now.item_kind = ItemKind::kLocalFile;
  t.now.LastPosition = 75;
  t.h.folder.Write("date_f.dat", EncodeAnsi("a.mp4|/films/a.mp4|0") + "\r\n");
  t.timer1.SetEnabled(false);
  const std::string path = "/media/电影/第一集.rmvb";
  t.files.answer = path;

  const Log log = Press(4);
  // The item being left is stopped first and keeps its place.
  ASSERT_GE(log.size(), 3U);
  EXPECT_EQ(log[0], "player.Stop");
  EXPECT_EQ(log[1], "player.SetUrl(" + path + ")");
  EXPECT_EQ(log[2], "player.Play");
  EXPECT_EQ(m.ContentMode, ContentMode::kPlayer);
  EXPECT_TRUE(t.timer1.Enabled());
  EXPECT_EQ(m[R::bo_name].caption, "第一集.rmvb");
  EXPECT_EQ(m[R::bo_name].rect.width, 8 * 7);
  EXPECT_EQ(m[R::bo_name].rect.left, (700 - 56) / 2);
  EXPECT_EQ(ListBytes("date_f.dat"),
            EncodeAnsi("第一集.rmvb|" + path + "|0") + "\r\n" + EncodeAnsi("a.mp4|/films/a.mp4|75") + "\r\n");
  EXPECT_EQ(t.now.item_kind, ItemKind::kLocalFile);
  EXPECT_EQ(t.now.ListKey, path);
  EXPECT_EQ(m.side_tab, SideTab::kLocalFiles);
  EXPECT_EQ(m.main_tab, MainTab::kPlayer);
  EXPECT_FALSE(t.views.shown.empty());
}

TEST_F(ControlBarTest, AnOpenedFileLeavesNoNextEpisodeOrResumeOfTheSeriesBefore) {
  Playing();
  t.h.folder.Write("date_f.dat", "\r\n");
  t.now.next_episode = NextEpisodeLink{"miqvod://qvod&&&next"};
  t.now.next_media = "http://127.0.0.1:1/4.ts";
  t.now.ResumePosition = 600;
  t.now.resume_done = false;
  t.files.answer = "/m/clip.mp4";
  Press(4);
  EXPECT_EQ(t.now.next_episode, NextEpisode{NoNextEpisode{}});
  EXPECT_EQ(t.now.next_media, NextMedia{NextMediaUnresolved{}});
  EXPECT_EQ(t.now.ResumePosition, 0);
  EXPECT_EQ(t.now.ListKey, "/m/clip.mp4");
}

TEST_F(ControlBarTest, ALongFileNameIsShortenedOnTheStatusStripOnly) {
  t.h.folder.Write("date_f.dat", "\r\n");
  const std::string name = "一二三四五六七八九十一二三四五六七八.mkv";  // 18 wide characters
  t.files.answer = "/m/" + name;
  Press(4);
  EXPECT_EQ(m[R::bo_name].caption, "一二三四五六七八九十一二三四五");
  EXPECT_EQ(ListBytes("date_f.dat"), EncodeAnsi(name + "|/m/" + name + "|0") + "\r\n\r\n");
}

TEST_F(ControlBarTest, EpisodeButtonsStayDisabledWhileTheEpisodeIsLookedUp) {
  EXPECT_EQ(Press(5), Log{});
  EXPECT_EQ(Press(7), Log{});
  EXPECT_EQ(t.steps, (std::vector<int>{1, 2}));
  EXPECT_EQ(t.enabled_while, (std::vector<bool>{false, false}));
  EXPECT_TRUE(m[BoBut(5)].enabled);
  EXPECT_TRUE(m[BoBut(7)].enabled);
  EXPECT_EQ(m[BoBut(5)].face, (Tile{18, 0, 0, 25, 25}));
  EXPECT_EQ(m[BoBut(7)].face, (Tile{18, 50, 0, 25, 25}));
}

TEST_F(ControlBarTest, TheListButtonTogglesTheSidePanelOfThePageShown) {
  m.main_tab = MainTab::kPlayer;
  Press(6);
  EXPECT_EQ(m[Npc(6)].tooltip, "显示侧栏");
  EXPECT_FALSE(m[R::l2].visible);
  m.main_tab = MainTab::kTv;
  Press(6);
  EXPECT_EQ(m[Npc(15)].tooltip, "显示侧栏");
  EXPECT_FALSE(m[R::tvright].visible);
  m.main_tab = MainTab::kCatalogue;
  const WindowModel before = m;
  Press(6);
  EXPECT_EQ(testing::ModelChanges(before, m), "");
}

}  // namespace
}  // namespace taviro
