#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playback/player_keys.h"
#include "playback/seek_bar.h"
#include "playback/volume_bar.h"
#include "support/control_bar_harness.h"
#include "window/chrome_state.h"

namespace taviro {
namespace {

using R = RegionId;
using Log = std::vector<std::string>;
constexpr MouseButton kLeft = MouseButton::kLeft;
constexpr MouseButton kRight = MouseButton::kRight;

// A seek track with 600 pixels of travel and a volume track with 70, an
// item of 50 minutes loaded in the player.
class BarsTest : public ::testing::Test {
 protected:
  BarsTest() {
    m.ContentMode = ContentMode::kPlayer;
    t.LoadItemWithBars();
    t.player.position = 700;
    t.player.volume = 50;
  }
  Log Positions() {
    Log seeks;
    for (const std::string& entry : t.h.log.entries) {
      if (entry.starts_with("player.SetPosition")) seeks.push_back(entry);
    }
    t.h.log.entries.clear();
    return seeks;
  }
  // Presses the track at x and lets go there.
  Log ClickTrack(RegionId part, int x) {
    t.h.log.entries.clear();
    SeekBarPressed(w, part, kLeft, x);
    SeekBarReleased(w, part);
    return Positions();
  }
  Log ReleaseThumbAt(int left) {
    t.h.log.entries.clear();
    PlaceSeekThumb(m, left);
    SeekBarReleased(w, R::gunt1);
    return Positions();
  }
  int Thumb() const { return m[R::gunt1].rect.left; }
  int Knob() const { return m[R::bo_v].rect.left; }
  Log Key(KeyCode key) {
    t.h.log.entries.clear();
    PlayerKeyDown(t.context, key);
    return t.h.log.entries;
  }

  testing::ControlBarHarness t;
  MainWindow& w = t.window;
  WindowModel& m = t.model;
};

TEST_F(BarsTest, PressingTheSeekBarMovesTheThumbThere) {
  SeekBarPressed(w, R::gunt, kLeft, 150);
  EXPECT_EQ(Thumb(), 150);
  EXPECT_EQ(m[R::gunt2].rect.width, 150);
  SeekBarPressed(w, R::gunt2, kLeft, 100 * 15);  // the part labels count in twips
  EXPECT_EQ(Thumb(), 100);
  SeekBarPressed(w, R::huan, kLeft, 40 * 15 + 14);
  EXPECT_EQ(Thumb(), 40);
  EXPECT_EQ(m[R::gunt2].rect.width, 40);

  SeekBarPressed(w, R::gunt, kRight, 300);
  SeekBarPressed(w, R::gunt2, kRight, 300 * 15);
  SeekBarPressed(w, R::gunt1, kLeft, 5);  // the thumb itself only drags
  EXPECT_EQ(Thumb(), 40);
  t.player.url.clear();
  SeekBarPressed(w, R::gunt, kLeft, 300);
  EXPECT_EQ(Thumb(), 40);
  SeekBarPressed(w, R::huan, kLeft, 300 * 15);  // the parts do not ask
  EXPECT_EQ(Thumb(), 300);
}

TEST_F(BarsTest, LettingGoSeeksInProportionToTheThumb) {
  EXPECT_EQ(ClickTrack(R::gunt, 150), Log{"player.SetPosition(750)"});
  EXPECT_EQ(ClickTrack(R::gunt, 0), Log{"player.SetPosition(0)"});
  // The parts seek 2 s before the spot.
  EXPECT_EQ(ClickTrack(R::gunt2, 150 * 15), Log{"player.SetPosition(748)"});
  EXPECT_EQ(ClickTrack(R::huan, 300 * 15), Log{"player.SetPosition(1498)"});
  // The thumb keeps the exact spot near the start only.
  EXPECT_EQ(ReleaseThumbAt(2), Log{"player.SetPosition(10)"});
  EXPECT_EQ(ReleaseThumbAt(3), Log{"player.SetPosition(13)"});
  EXPECT_EQ(ReleaseThumbAt(0), Log{"player.SetPosition(0)"});
  // Whole seconds, to the nearest; an exact half goes to the even one.
  t.player.duration = 1001;
  EXPECT_EQ(ReleaseThumbAt(301), Log{"player.SetPosition(500)"});       // 502.7 - 2
  EXPECT_EQ(ClickTrack(R::gunt, 300), Log{"player.SetPosition(500)"});  // 500.5
  EXPECT_EQ(ClickTrack(R::gunt, 302), Log{"player.SetPosition(504)"});  // 503.8
  t.player.duration = 3;
  EXPECT_EQ(ClickTrack(R::gunt, 300), Log{"player.SetPosition(2)"});  // 1.5
  EXPECT_EQ(ClickTrack(R::gunt, 500), Log{"player.SetPosition(2)"});  // 2.5
  t.player.duration = 1001;

  // Any button lets go; with nothing loaded the track does not seek.
  PlaceSeekThumb(m, 60);
  SeekBarReleased(w, R::gunt);
  EXPECT_EQ(Positions(), Log{"player.SetPosition(100)"});
  t.player.url.clear();
  SeekBarReleased(w, R::gunt);
  EXPECT_EQ(Positions(), Log{});
  SeekBarReleased(w, R::gunt1);
  EXPECT_EQ(Positions(), Log{"player.SetPosition(98)"});
}

TEST_F(BarsTest, ASeekBeyondTheEndLandsTwoSecondsBeforeIt) {
  EXPECT_EQ(ClickTrack(R::gunt, 660), (Log{"player.SetPosition(3300)", "player.SetPosition(2998)"}));
  EXPECT_EQ(ClickTrack(R::gunt, 600), Log{"player.SetPosition(3000)"});
  // While the duration is unknown every seek is past the end.
  t.player.duration = 0;
  EXPECT_EQ(ClickTrack(R::gunt, 600), Log{"player.SetPosition(0)"});
  EXPECT_EQ(ReleaseThumbAt(300), (Log{"player.SetPosition(-2)"}));
}

TEST_F(BarsTest, ATrackWithNoRoomForTheThumbDoesNotSeek) {
  m[R::gunt].rect.width = 10;
  EXPECT_EQ(ClickTrack(R::gunt, 5), Log{});
  EXPECT_EQ(ReleaseThumbAt(5), Log{});
}

TEST_F(BarsTest, DraggingTheThumbStaysOnTheTrack) {
  PlaceSeekThumb(m, 100);
  SeekThumbDragged(w, 50, true);
  EXPECT_EQ(Thumb(), 150);
  SeekThumbDragged(w, -4, true);
  EXPECT_EQ(Thumb(), 146);
  EXPECT_EQ(m[R::gunt2].rect.width, 146);
  SeekThumbDragged(w, -500, true);
  EXPECT_EQ(Thumb(), 0);
  SeekThumbDragged(w, 1000, true);
  EXPECT_EQ(Thumb(), 600);
  SeekThumbDragged(w, -100, false);  // only with the left button down
  EXPECT_EQ(Thumb(), 600);
  t.player.url.clear();
  SeekThumbDragged(w, -100, true);
  EXPECT_EQ(Thumb(), 600);
  EXPECT_EQ(Positions(), Log{});  // dragging alone does not seek
}

TEST_F(BarsTest, TheVolumeFollowsTheKnobInWholePercent) {
  struct Case {
    RegionId part;
    int x;
    int knob;
    int volume;
  } cases[] = {
      {R::yin, 35, 35, 50},       {R::yin, 69, 69, 98},  // truncated, not rounded
      {R::yin, 1, 1, 1},          {R::yin, 0, 0, 0},           {R::yin, 100, 70, 100},
      {R::bo_y, 14 * 15, 14, 20}, {R::bo_y, 90 * 15, 70, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    VolumeBarPressed(w, c.part, kLeft, c.x);
    EXPECT_EQ(Knob(), c.knob);
    EXPECT_EQ(m[R::bo_y].rect.width, c.knob);
    EXPECT_EQ(t.player.volume, c.volume);
    EXPECT_EQ(m[R::zhun].caption, "音量：" + std::to_string(c.volume) + "%");
  }
  t.h.log.entries.clear();
  VolumeBarPressed(w, R::yin, kRight, 10);
  VolumeBarPressed(w, R::bo_v, kLeft, 10);  // the knob only drags
  EXPECT_EQ(t.h.log.entries, Log{});
  EXPECT_EQ(Knob(), 70);
}

TEST_F(BarsTest, DraggingTheKnobStaysOnTheTrack) {
  PlaceVolumeKnob(m, 35);
  VolumeKnobDragged(w, 10, true);
  EXPECT_EQ(Knob(), 45);
  EXPECT_EQ(t.player.volume, 64);
  VolumeKnobDragged(w, -100, true);
  EXPECT_EQ(Knob(), 0);
  EXPECT_EQ(t.player.volume, 0);
  VolumeKnobDragged(w, 100, true);
  EXPECT_EQ(Knob(), 70);
  EXPECT_EQ(t.player.volume, 100);
  VolumeKnobDragged(w, -30, false);
  EXPECT_EQ(Knob(), 70);
}

TEST_F(BarsTest, ChangingTheVolumeUnmutesFirst) {
  t.bar.Click(2);
  ASSERT_TRUE(t.player.muted);
  t.h.log.entries.clear();
  VolumeBarPressed(w, R::yin, kLeft, 7);
  EXPECT_EQ(t.h.log.entries, (Log{"player.SetMuted(false)", "player.SetVolume(10)"}));
  EXPECT_EQ(m[BoBut(2)].tooltip, "静音");
  EXPECT_EQ(w.menu.q_yin, "静音");

  t.bar.Click(2);
  VolumeKnobDragged(w, 1, true);
  EXPECT_FALSE(t.player.muted);
  t.bar.Click(2);
  Key(KeyCode::kDown);
  EXPECT_FALSE(t.player.muted);
  EXPECT_EQ(m[BoBut(2)].tooltip, "静音");
}

TEST_F(BarsTest, KeysBelongToThePlayerOnly) {
  for (ContentMode mode : {ContentMode::kNothingShown, ContentMode::kWebPlayPage, ContentMode::kTvPage}) {
    m.ContentMode = mode;
    t.timer1.SetEnabled(false);
    const WindowModel before = m;
    for (KeyCode key :
         {KeyCode::kSpace, KeyCode::kLeft, KeyCode::kUp, KeyCode::kRight, KeyCode::kDown, KeyCode::kOther}) {
      EXPECT_EQ(Key(key), Log{}) << static_cast<int>(mode);
    }
    EXPECT_EQ(testing::ModelChanges(before, m), "");
    EXPECT_FALSE(t.timer1.Enabled());
  }
}

TEST_F(BarsTest, SpacePlaysAndPauses) {
  SetPlayingShown(m, false);
  EXPECT_EQ(Key(KeyCode::kSpace), (Log{"host.ProcessPendingEvents", "player.Play"}));
  EXPECT_EQ(m[BoBut(0)].tooltip, "暂停");
  EXPECT_EQ(Key(KeyCode::kSpace), (Log{"host.ProcessPendingEvents", "player.Pause"}));
  EXPECT_EQ(m[BoBut(0)].tooltip, "播放");
}

TEST_F(BarsTest, ArrowsSeekTenSecondsAndRedrawTheBar) {
  EXPECT_EQ(Key(KeyCode::kLeft), (Log{"host.ProcessPendingEvents", "player.SetPosition(690)"}));
  EXPECT_EQ(Thumb(), 138);
  EXPECT_EQ(m[R::gunt2].rect.width, 138);
  EXPECT_EQ(m[R::times].caption, "11:30 / 50:00");

  EXPECT_EQ(Key(KeyCode::kRight),
            (Log{"host.ProcessPendingEvents", "player.SetPosition(700)", "host.ProcessPendingEvents"}));
  EXPECT_EQ(Thumb(), 142);  // drawn 10 s ahead of the position read back
  EXPECT_EQ(m[R::times].caption, "11:40 / 50:00");

  t.player.position = 4;
  Key(KeyCode::kLeft);
  EXPECT_EQ(Positions(), (Log{"player.SetPosition(-6)", "player.SetPosition(0)"}));
  EXPECT_EQ(Thumb(), 0);
  EXPECT_EQ(m[R::times].caption, "00:00 / 50:00");

  t.player.position = 2995;
  Key(KeyCode::kRight);
  EXPECT_EQ(Positions(), (Log{"player.SetPosition(3005)", "player.SetPosition(2998)"}));
  EXPECT_EQ(Thumb(), 602);
  EXPECT_EQ(m[R::times].caption, "49:58 / 50:00");

  t.player.duration = 0;  // not known yet: the thumb stays at the start
  t.player.position = 30;
  Key(KeyCode::kLeft);
  EXPECT_EQ(Thumb(), 0);
  EXPECT_EQ(m[R::times].caption, "00:20 / 00:00");
}

TEST_F(BarsTest, ArrowsLeaveANotStartedItemButStillRestartThePoller) {
  t.player.position = 0;
  m[R::times].caption = "00:00 /00:00";
  t.scheduler.Advance(900);
  for (KeyCode key : {KeyCode::kLeft, KeyCode::kRight}) {
    EXPECT_EQ(Key(key), Log{"host.ProcessPendingEvents"});
  }
  EXPECT_EQ(m[R::times].caption, "00:00 /00:00");
  EXPECT_EQ(Thumb(), 0);
  t.scheduler.Advance(999);
  EXPECT_EQ(t.timer1_ticks, 0);  // a new second started with the key
  t.scheduler.Advance(1);
  EXPECT_EQ(t.timer1_ticks, 1);

  t.timer1.SetEnabled(false);
  Key(KeyCode::kOther);
  EXPECT_TRUE(t.timer1.Enabled());
}

TEST_F(BarsTest, UpAndDownStepTheVolumeAndShowWhatThePlayerReports) {
  EXPECT_EQ(Key(KeyCode::kUp), (Log{"host.ProcessPendingEvents", "player.SetVolume(60)"}));
  EXPECT_EQ(m[R::zhun].caption, "音量：60%");
  EXPECT_EQ(Knob(), 42);
  EXPECT_EQ(m[R::bo_y].rect.width, 42);
  Key(KeyCode::kDown);
  Key(KeyCode::kDown);
  EXPECT_EQ(t.player.volume, 40);
  EXPECT_EQ(Knob(), 28);

  // Not limited here: the player decides what it takes.
  t.player.volume = 95;
  Key(KeyCode::kUp);
  EXPECT_EQ(m[R::zhun].caption, "音量：105%");
  EXPECT_EQ(Knob(), 73);
  t.player.volume = 5;
  Key(KeyCode::kDown);
  EXPECT_EQ(m[R::zhun].caption, "音量：-5%");
  EXPECT_EQ(Knob(), -3);  // off the track's start, as the layout would place it
}

TEST_F(BarsTest, TheSeekBarOfALiveItemIsInert) {
  t.player.live = true;
  EXPECT_EQ(ClickTrack(R::gunt, 300), Log{});
  EXPECT_EQ(ReleaseThumbAt(200), Log{});
  EXPECT_EQ(ClickTrack(R::gunt2, 300), Log{});
}

}  // namespace
}  // namespace taviro
