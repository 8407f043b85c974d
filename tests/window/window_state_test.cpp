#include "window/window_state.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "support/main_window_harness.h"

namespace taviro {
namespace {

using testing::MainWindowHarness;

TEST(WindowState, TheEchoOfOurOwnResizeChangesNothing) {
  MainWindowHarness h;
  h.window.model.mini_mode = MiniMode::kPlayer;
  SetOuterSize(h.window, 5900, 4800);
  ASSERT_EQ(h.host.width, 393);
  h.log.entries.clear();
  OnWindowResized(h.window, 393, 320);
  EXPECT_EQ(h.window.model.width_twips, 5900);  // not rounded to whole pixels
  EXPECT_TRUE(h.log.entries.empty());
}

TEST(WindowState, ASizeFromTheSettingsBeyondAnyScreenIsCut) {
  MainWindowHarness h;
  SetOuterSize(h.window, std::numeric_limits<int>::max(), std::numeric_limits<int>::min());
  EXPECT_EQ(h.window.model.width_twips, 32767 * 15);
  EXPECT_EQ(h.host.width, 32767);
  EXPECT_GE(h.window.model.height_twips, 0);
  EXPECT_LE(h.host.height, 32767);
}

TEST(WindowState, AUserResizeBelowTheMinimumIsSprungBack) {
  MainWindowHarness h;
  OnWindowResized(h.window, 1000, 300);
  EXPECT_EQ(h.window.model.width_twips, 15000);
  EXPECT_EQ(h.window.model.height_twips, 7000);
  EXPECT_EQ(h.log.entries, std::vector<std::string>{"host.Resize(1000,466)"});

  h.log.entries.clear();
  OnWindowResized(h.window, 1100, 700);
  EXPECT_EQ(h.window.model.width_twips, 16500);
  EXPECT_TRUE(h.log.entries.empty());
}

TEST(WindowState, StateReportsAreRecorded) {
  MainWindowHarness h;
  OnWindowStateChanged(h.window, WindowState::kMinimised);
  EXPECT_EQ(h.window.model.state, WindowState::kMinimised);
  EXPECT_TRUE(h.log.entries.empty());
}

}  // namespace
}  // namespace taviro
