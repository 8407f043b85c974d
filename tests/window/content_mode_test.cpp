#include "window/content_mode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/main_window_harness.h"

namespace taviro {
namespace {

using testing::MainWindowHarness;
using R = RegionId;
using Log = std::vector<std::string>;
constexpr ContentMode kNone = ContentMode::kNothingShown;
constexpr ContentMode kWeb = ContentMode::kWebPlayPage;
constexpr ContentMode kPlay = ContentMode::kPlayer;
constexpr ContentMode kTv = ContentMode::kTvPage;

class ContentModeSwitch : public ::testing::Test {
 protected:
  // Switches from `from` to `to` and returns what the ports saw.
  Log Switch(ContentMode from, ContentMode to) {
    h.log.entries.clear();
    m.ContentMode = from;
    SetContentMode(w, to);
    EXPECT_EQ(m.ContentMode, to);
    EXPECT_EQ(m[R::Pic2].visible, to == kWeb);
    EXPECT_EQ(m[R::qvod].visible, to != kWeb);
    return h.log.entries;
  }
  MainWindowHarness h;
  MainWindow& w = h.window;
  WindowModel& m = h.window.model;
};

TEST_F(ContentModeSwitch, EachSwitchClosesWhatTheAreaShowedFirst) {
  EXPECT_EQ(Switch(kPlay, kPlay), Log{"bo_but.Click(1)"});  // a new item: stop the old one
  EXPECT_EQ(Switch(kPlay, kWeb), Log{"bo_but.Click(1)"});
  EXPECT_EQ(Switch(kWeb, kTv), (Log{"host.ProcessPendingEvents", "Web2.Navigate(about:blank)"}));
  EXPECT_EQ(Switch(kTv, kPlay),
            (Log{"host.ProcessPendingEvents", "Web10.Navigate(http://127.0.0.1:8080/tv/ad.htm)"}));
  EXPECT_FALSE(m[R::gtv].visible);
  EXPECT_EQ(Switch(kWeb, kWeb), Log{});
  EXPECT_EQ(Switch(kTv, kTv), Log{});
  EXPECT_EQ(Switch(kNone, kPlay), Log{});
}

TEST_F(ContentModeSwitch, TheControlBarStillSeesThePlayerModeWhenStopIsPressed) {
  struct ModeProbe : ControlBarActions {
    explicit ModeProbe(const WindowModel& watched) : model(watched) {}
    void Click(int) override { seen = model.ContentMode; }
    const WindowModel& model;
    ContentMode seen = kNone;
  } probe(m);
  w.callbacks.control_bar = &probe;
  Switch(kPlay, kTv);
  EXPECT_EQ(probe.seen, kPlay);
}

TEST_F(ContentModeSwitch, ClosingTheWebPlayPageClearsTheStatusStrip) {
  m.ContentMode = ContentMode::kWebPlayPage;
  m[R::qvod].rect.width = 700;
  m[R::times].rect = Rect{10, 9, 72, 12};
  m[R::times].caption = "01:02 /40:00";
  m[R::bo_name].caption = "第1集";
  m[R::gunt1].rect.left = m[R::gunt2].rect.width = 200;
  m[R::huan].rect = Rect{30, 0, 300, 7};
  GgxClick(w);
  EXPECT_EQ(m.ContentMode, ContentMode::kNothingShown);
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
