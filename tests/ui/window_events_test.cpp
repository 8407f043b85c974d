#include "ui/window_events.h"

#include <gtest/gtest.h>

#include "playback/list_commands.h"
#include "support/control_bar_harness.h"
#include "support/fake_uri_launcher.h"
#include "window/content_mode.h"

namespace taviro {
namespace {

using R = RegionId;
constexpr MouseButton kLeft = MouseButton::kLeft;
constexpr MouseButton kRight = MouseButton::kRight;

// Before start-up attaches the playback objects, only the window's own
// rules answer.
TEST(WindowEventsTable, WithoutPlaybackTheWindowsOwnRulesAnswer) {
  testing::MainWindowHarness h;
  WindowEvents events{h.window};
  WindowModel& m = h.window.model;

  events.CloseRequest();  // the title bar's close button: hides to the tray
  EXPECT_FALSE(m.shown);
  m.shown = true;
  h.SetSetting("S_q", "quit", "1");
  events.CloseRequest();
  EXPECT_EQ(h.quit_count, 1);

  events.DoubleClick(R::Lqvod);  // the video area toggles full screen
  events.Click(BoBut(5));
  EXPECT_EQ(h.control_bar.clicks, (std::vector<int>{3, 5}));

  const int thumb = m[R::gunt1].rect.left;
  EXPECT_FALSE(events.Press(R::huan, kLeft, 40, 0));
  EXPECT_EQ(m[R::gunt1].rect.left, thumb);
  events.KeyPress(KeyCode::kSpace);

  EXPECT_FALSE(events.Press(R::Window, kLeft, 500, 300));
  EXPECT_TRUE(events.Press(R::Window, kLeft, 3, 300));  // the resize band
  events.Release(R::Window, 3, 300);
  EXPECT_FALSE(m.EdgeResizeActive);
}

// The table over the real control bar, as start-up leaves it.
class WiredWindowEvents : public ::testing::Test {
 protected:
  WiredWindowEvents() { events.AttachPlayback(t.context, t.bar, lists); }

  testing::ControlBarHarness t;
  testing::FakeUriLauncher desktop;
  ListCommands lists{t.context, desktop};
  WindowEvents events{t.window};
  WindowModel& m = t.model;
};

// The bars' parts are pressed in pixels like any region; the table hands
// their rules the twips those count in.
TEST_F(WiredWindowEvents, BarPartsGetTheirPixelsInTwips) {
  t.LoadItemWithBars();

  struct Case {
    RegionId part;
    int x;
    int thumb;
  } seeks[] = {{R::gunt, 150, 150}, {R::gunt2, 100, 100}, {R::huan, 40, 40}};
  for (const Case& c : seeks) {
    SCOPED_TRACE(static_cast<int>(c.part));
    EXPECT_FALSE(events.Press(c.part, kLeft, c.x, 3));
    EXPECT_EQ(m[R::gunt1].rect.left, c.thumb);
  }
  t.h.log.entries.clear();
  events.Release(R::huan, 40, 3);
  EXPECT_EQ(t.h.log.entries, std::vector<std::string>{"player.SetPosition(198)"});

  events.Press(R::yin, kLeft, 35, 3);
  EXPECT_EQ(m[R::bo_v].rect.left, 35);
  events.Press(R::bo_y, kLeft, 14, 3);
  EXPECT_EQ(m[R::bo_v].rect.left, 14);
  events.PointerMove(R::bo_v, 20, 3, true);  // the knob drags in pixels
  EXPECT_GT(m[R::bo_v].rect.left, 14);

  events.Press(R::Lqvod, kRight, 5, 5);
  EXPECT_EQ(t.h.menus.popups.size(), 1U);
}

// A press with another button than the left one (a right click on the title
// bar's empty part, on a button) voids the pointer's next click on a button
// and nothing else: the stop a content switch presses still stores the
// position of the item being left, the window system's close still closes
// and the space bar still plays.
TEST_F(WiredWindowEvents, ARightPressVoidsOnlyThePointersNextClick) {
  m.ContentMode = ContentMode::kPlayer;
  t.player.url = "/films/a.mp4";
  t.player.state = PlayerState::kPlaying;
  t.h.folder.Write("date_f.dat", "a.mp4|/films/a.mp4|0\r\n");
  t.now.ListKey = "/films/a.mp4";
  t.now.item_kind = ItemKind::kLocalFile;
  t.now.LastPosition = 18;

  events.Press(R::Window, kRight, 600, 10);
  SetContentMode(t.window, ContentMode::kPlayer);  // another item is about to play
  EXPECT_EQ(t.h.folder.Read("date_f.dat"), "a.mp4|/films/a.mp4|18\r\n");
  EXPECT_EQ(t.h.log.entries, std::vector<std::string>{"player.Stop"});
  events.CloseRequest();
  EXPECT_FALSE(m.shown);
  t.h.log.entries.clear();
  events.KeyPress(KeyCode::kSpace);
  ASSERT_FALSE(t.h.log.entries.empty());
  EXPECT_EQ(t.h.log.entries.back(), "player.Play");

  // The pointer's next click on any button does nothing but take the tooltip away.
  t.files.answer = "/films/b.mp4";
  for (int index = 0; index < bo_but::kCount; ++index) {
    SCOPED_TRACE(index);
    if (index > 0) events.Press(BoBut(index), kRight, 2, 2);
    m[R::P1].visible = true;
    const WindowModel before = m;
    t.h.log.entries.clear();
    events.Click(BoBut(index));
    EXPECT_FALSE(m[R::P1].visible);
    m[R::P1].visible = true;
    EXPECT_EQ(testing::ModelChanges(before, m), "ignore_next_click");
    EXPECT_TRUE(t.h.log.entries.empty());
  }
  EXPECT_TRUE(t.files.requests.empty());
  EXPECT_TRUE(t.steps.empty());
  t.player.state = PlayerState::kPlaying;
  events.Press(BoBut(bo_but::kMute), kRight, 2, 2);
  events.DoubleClick(R::Lqvod);  // a double click is the pointer's too: no full screen
  events.Click(BoBut(bo_but::kMute));
  EXPECT_EQ(t.h.log.entries, std::vector<std::string>{"player.SetMuted(true)"});
}

}  // namespace
}  // namespace taviro
