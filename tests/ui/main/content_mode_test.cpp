#include "ui/main/content_mode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/main_window_harness.h"

namespace taviro {
namespace {

using testing::MainWindowHarness;
using R = RegionId;
using Log = std::vector<std::string>;

class ContentMode : public ::testing::Test {
 protected:
  // Switches from `from` to `to` and returns what the ports saw.
  Log Switch(int from, int to) {
    h.log.entries.clear();
    m.ContentMode = from;
    SetContentMode(w, to);
    EXPECT_EQ(m.ContentMode, to);
    EXPECT_EQ(m[R::Pic2].visible, to == 1);
    EXPECT_EQ(m[R::qvod].visible, to != 1);
    return h.log.entries;
  }
  MainWindowHarness h;
  MainWindow& w = h.window;
  WindowModel& m = h.window.model;
};

TEST_F(ContentMode, EachSwitchClosesWhatTheAreaShowedFirst) {
  EXPECT_EQ(Switch(2, 2), Log{"bo_but.Click(1)"});  // a new item: stop the old one
  EXPECT_EQ(Switch(2, 1), Log{"bo_but.Click(1)"});
  EXPECT_EQ(Switch(1, 3), (Log{"host.ProcessPendingEvents", "Web2.Navigate(about:blank)"}));
  EXPECT_EQ(Switch(3, 2),
            (Log{"host.ProcessPendingEvents", "Web10.Navigate(http://127.0.0.1:8080/tv/ad.htm)"}));
  EXPECT_FALSE(m[R::gtv].visible);
  EXPECT_EQ(Switch(1, 1), Log{});
  EXPECT_EQ(Switch(3, 3), Log{});
  EXPECT_EQ(Switch(0, 2), Log{});
}

TEST_F(ContentMode, TheControlBarStillSeesThePlayerModeWhenStopIsPressed) {
  struct ModeProbe : ControlBarActions {
    explicit ModeProbe(const WindowModel& watched) : model(watched) {}
    void Click(int) override { seen = model.ContentMode; }
    const WindowModel& model;
    int seen = -1;
  } probe(m);
  w.callbacks.control_bar = &probe;
  Switch(2, 3);
  EXPECT_EQ(probe.seen, 2);
}

TEST_F(ContentMode, ClosingTheWebPlayPageClearsTheStatusStrip) {
  m.ContentMode = 1;
  m[R::qvod].rect.width = 700;
  m[R::times].rect = Rect{10, 9, 72, 12};
  m[R::times].caption = "01:02 /40:00";
  m[R::bo_name].caption = "第1集";
  m[R::gunt1].rect.left = m[R::gunt2].rect.width = 200;
  m[R::huan].rect = Rect{30, 0, 300, 7};
  GgxClick(w);
  EXPECT_EQ(m.ContentMode, 0);
  EXPECT_EQ(m[R::times].rect, (Rect{615, 3, 72, 12}));
  EXPECT_EQ(m[R::times].caption, "");
  EXPECT_EQ(m[R::bo_name].caption, "");
  EXPECT_EQ(m[R::gunt1].rect.left, 0);
  EXPECT_EQ(m[R::gunt2].rect.width, 0);
  EXPECT_EQ(m[R::huan].rect, (Rect{0, 0, 0, 7}));
  EXPECT_TRUE(m[R::qvod].visible);
  EXPECT_EQ(h.web[2].Address(), "about:blank");
}

}  // namespace
}  // namespace taviro
