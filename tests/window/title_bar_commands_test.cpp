#include "window/title_bar_commands.h"

#include <gtest/gtest.h>

#include "support/main_window_harness.h"

namespace taviro {
namespace {

using testing::MainWindowHarness;
using R = RegionId;

class TitleBarCommands : public ::testing::Test {
 protected:
  MainWindowHarness h;
  MainWindow& w = h.window;
  WindowModel& m = h.window.model;
};

TEST_F(TitleBarCommands, EveryClickFirstDropsHoverLooksEvenWhenSwallowed) {
  int news_resets = 0;
  w.callbacks.clear_news_hover = [&] { ++news_resets; };
  for (int suppress : {0, 1}) {
    m[R::P1].visible = true;
    m[R::jbi].fore_colour = m[R::qk].fore_colour = 0x80;
    m.ignore_next_click = suppress;
    ClickTitleBarButton(w, 10);  // the header strip: no command of its own
    EXPECT_FALSE(m[R::P1].visible);
    EXPECT_EQ(m[R::jbi].fore_colour, 0xFFFFFFU);
    EXPECT_EQ(m[R::qk].fore_colour, 0x5A5A5AU);
  }
  EXPECT_EQ(news_resets, 2);
  EXPECT_TRUE(h.log.entries.empty());
}

TEST_F(TitleBarCommands, ARightPressSwallowsExactlyOneClickOrDoubleClick) {
  TitleBarButtonDown(w, MouseButton::kRight);
  ClickTitleBarButton(w, 0);
  EXPECT_EQ(m.state, WindowState::kNormal);
  ClickTitleBarButton(w, 0);
  EXPECT_EQ(h.host.state, WindowState::kMinimised);
  EXPECT_EQ(m[Npc(0)].face, (Tile{1, 72, 0, 24, 24}));

  TitleBarButtonDown(w, MouseButton::kMiddle);
  TitleBarButtonDown(w, MouseButton::kLeft);  // a left press in between clears it
  ClickTitleBarButton(w, 4);
  EXPECT_TRUE(m.topmost);

  m.state = WindowState::kNormal;
  TitleBarButtonDown(w, MouseButton::kRight);
  WindowDoubleClick(w);
  EXPECT_EQ(m.state, WindowState::kNormal);
  EXPECT_FALSE(m.ignore_next_click);
  WindowDoubleClick(w);
  EXPECT_EQ(m.state, WindowState::kMaximised);
}

TEST_F(TitleBarCommands, MaximiseButtonFollowsTheWindowStateNotItsTooltip) {
  ClickTitleBarButton(w, 1);
  EXPECT_EQ(h.host.state, WindowState::kMaximised);
  EXPECT_EQ(m[Npc(1)].tooltip, "还原");
  EXPECT_EQ(m[Npc(1)].face, (Tile{5, 0, 0, 24, 24}));
  ClickTitleBarButton(w, 1);
  EXPECT_EQ(h.host.state, WindowState::kNormal);
  EXPECT_EQ(m[Npc(1)].tooltip, "最大化");
  EXPECT_EQ(m[Npc(1)].face, (Tile{1, 96, 0, 24, 24}));

  m.state = WindowState::kMaximised;  // maximised by the window manager
  ClickTitleBarButton(w, 1);
  EXPECT_EQ(h.host.state, WindowState::kNormal);
}

TEST_F(TitleBarCommands, TopmostButtonTogglesTheBandTooltipAndFace) {
  ClickTitleBarButton(w, 4);
  EXPECT_TRUE(m.topmost && h.host.topmost);
  EXPECT_EQ(m[Npc(4)].tooltip, "取消置顶");
  EXPECT_EQ(m[Npc(4)].face, (Tile{6, 48, 0, 24, 24}));
  ClickTitleBarButton(w, 4);
  EXPECT_FALSE(m.topmost || h.host.topmost);
  EXPECT_EQ(m[Npc(4)].tooltip, "置顶");
  EXPECT_EQ(m[Npc(4)].face, (Tile{6, 0, 0, 24, 24}));
}

TEST_F(TitleBarCommands, MenuButtonDropsTheMainMenuBelowItself) {
  m[Npc(5)].rect = Rect{600, 4, 24, 24};
  ClickTitleBarButton(w, 5);
  ASSERT_EQ(h.menus.popups.size(), 1U);
  const auto& popup = h.menus.popups[0];
  EXPECT_EQ(popup.menu, PopupMenu::r_m);
  EXPECT_FALSE(popup.at_pointer);
  EXPECT_EQ(popup.x, 585);
  EXPECT_EQ(popup.y, 24);
}

TEST_F(TitleBarCommands, SidePanelHandlesToggleTheirOwnPanelAndLayOutAgain) {
  const int page_width = m[R::zz].rect.width;
  ClickTitleBarButton(w, 6);
  EXPECT_EQ(m[Npc(6)].tooltip, "显示侧栏");
  EXPECT_FALSE(m[R::l2].visible);
  EXPECT_EQ(m[Npc(6)].rect.left, page_width - 4);
  ClickTitleBarButton(w, 6);
  EXPECT_EQ(m[Npc(6)].tooltip, "关闭侧栏");
  EXPECT_TRUE(m[R::l2].visible);
  EXPECT_EQ(m[Npc(6)].rect.left, page_width - 202);

  ClickTitleBarButton(w, 15);
  EXPECT_EQ(m[Npc(15)].tooltip, "显示侧栏");
  EXPECT_FALSE(m[R::tvright].visible);
  EXPECT_EQ(m[Npc(15)].rect.left, m[R::tv].rect.width - 4);
  EXPECT_TRUE(m[R::l2].visible);
}

TEST_F(TitleBarCommands, CloseAsksOnlyWhileTheQuestionIsPendingAndHidesOnYes) {
  h.SetSetting("S_q", "ts", "3");
  h.prompt.answers = {true};
  ClickTitleBarButton(w, 2);
  ASSERT_EQ(h.prompt.questions.size(), 1U);
  EXPECT_EQ(h.prompt.questions[0].caption, "提示：");
  EXPECT_EQ(h.prompt.questions[0].text, "关闭 Taviro  最小化到托盘吗？");
  EXPECT_EQ(h.Setting("S_q", "ts"), "1");
  EXPECT_EQ(h.Setting("S_q", "quit"), "2");
  EXPECT_FALSE(m.shown || h.host.visible);
  EXPECT_EQ(m[Npc(2)].face, (Tile{1, 120, 0, 24, 24}));

  m.shown = true;
  ClickTitleBarButton(w, 2);  // the stored answer decides from now on
  EXPECT_EQ(h.prompt.questions.size(), 1U);
  EXPECT_FALSE(m.shown);
  EXPECT_EQ(h.quit_count, 0);
}

TEST_F(TitleBarCommands, AnsweringNoStoresQuitAndRunsTheQuitRoutine) {
  h.SetSetting("S_q", "ts", "3");
  h.prompt.answers = {false};
  ClickTitleBarButton(w, 2);
  EXPECT_EQ(h.Setting("S_q", "quit"), "1");
  EXPECT_EQ(h.quit_count, 1);
  EXPECT_TRUE(m.shown);
  ClickTitleBarButton(w, 2);
  EXPECT_EQ(h.prompt.questions.size(), 1U);
  EXPECT_EQ(h.quit_count, 2);
}

TEST_F(TitleBarCommands, WithoutTheQuestionMissingQuitHidesAndQuitOneQuits) {
  ClickTitleBarButton(w, 2);
  EXPECT_FALSE(m.shown);
  EXPECT_EQ(h.Setting("S_q", "ts"), "<missing>");
  EXPECT_EQ(h.Setting("S_q", "quit"), "<missing>");

  h.SetSetting("S_q", "quit", "1");
  ClickTitleBarButton(w, 2);
  EXPECT_EQ(h.quit_count, 1);
  EXPECT_TRUE(h.prompt.questions.empty());
}

// With no notification area showing the icon (a desktop without a tray),
// hiding would leave no way back: the window is minimised instead.
TEST_F(TitleBarCommands, WithoutATrayShowingTheIconCloseMinimisesInsteadOfHiding) {
  h.tray.embedded = false;
  for (const char* asked : {"3", "1"}) {
    h.SetSetting("S_q", "ts", asked);
    h.log.entries.clear();
    m.state = WindowState::kNormal;
    ClickTitleBarButton(w, 2);
    EXPECT_TRUE(m.shown && h.host.visible) << asked;
    EXPECT_EQ(m.state, WindowState::kMinimised) << asked;
    EXPECT_EQ(h.quit_count, 0);
  }
  EXPECT_EQ(h.Setting("S_q", "quit"), "2");  // the answer is kept for a desktop with a tray

  h.tray.embedded = true;
  ClickTitleBarButton(w, 2);
  EXPECT_FALSE(m.shown);
}

}  // namespace
}  // namespace taviro
