#include "window/tray_controller.h"

#include <gtest/gtest.h>

#include <string>

#include "support/main_window_harness.h"

namespace taviro {
namespace {

using testing::MainWindowHarness;

TEST(TrayController, LeftClicksRestoreThenHideThenShow) {
  MainWindowHarness h;
  WindowModel& m = h.window.model;
  m.state = WindowState::kMinimised;

  OnTrayLeftClick(h.window);
  EXPECT_EQ(m.state, WindowState::kNormal);
  EXPECT_EQ(h.host.state, WindowState::kNormal);
  EXPECT_TRUE(m.shown);

  OnTrayLeftClick(h.window);
  EXPECT_FALSE(m.shown);
  EXPECT_FALSE(h.host.visible);

  OnTrayLeftClick(h.window);
  EXPECT_TRUE(m.shown);
  EXPECT_TRUE(h.host.visible);
  EXPECT_EQ(m.state, WindowState::kNormal);
}

TEST(TrayController, RightClickOpensTheMainMenuAtThePointerEvenWhenHidden) {
  MainWindowHarness h;
  h.window.model.shown = false;
  OnTrayRightClick(h.window);
  ASSERT_EQ(h.menus.popups.size(), 1U);
  EXPECT_EQ(h.menus.popups[0].menu, PopupMenu::r_m);
  EXPECT_TRUE(h.menus.popups[0].at_pointer);
  EXPECT_FALSE(h.window.model.shown);
}

TEST(TrayController, BalloonsAreTitledAndLongTextsCutAtWholeCharacters) {
  MainWindowHarness h;
  ShowBalloon(h.tray, "正在读取下一集");
  ASSERT_EQ(h.tray.balloons.size(), 1U);
  EXPECT_EQ(h.tray.balloons[0].title, "Taviro提示:");
  EXPECT_EQ(h.tray.balloons[0].text, "正在读取下一集");

  std::string long_text;
  for (int i = 0; i < 300; ++i) long_text += "集";
  ShowBalloon(h.tray, long_text);
  std::string expected;
  for (int i = 0; i < 255; ++i) expected += "集";
  EXPECT_EQ(h.tray.balloons[1].text, expected);

  const std::string exact(255, 'a');
  ShowBalloon(h.tray, exact);
  EXPECT_EQ(h.tray.balloons[2].text, exact);
}

TEST(TrayController, TheSizeLimitsAreTheWorkAreaOrTheScreen) {
  const ScreenRect screen{0, 0, 1280, 800};
  const ScreenRect work_area{0, 32, 1280, 800};  // a panel along the top
  const SizeLimits limits = HookSizeLimits(0, 0, work_area.width(), work_area.height(), screen);
  EXPECT_EQ(limits.max_width, 1280);
  EXPECT_EQ(limits.max_height, 768);

  const SizeLimits unbounded = HookSizeLimits(10, 20, 0, 0, screen);
  EXPECT_EQ(unbounded.min_width, 10);
  EXPECT_EQ(unbounded.min_height, 20);
  EXPECT_EQ(unbounded.max_width, 1280);
  EXPECT_EQ(unbounded.max_height, 800);
}

}  // namespace
}  // namespace taviro
