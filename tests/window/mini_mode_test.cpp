#include "window/mini_mode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/main_window_harness.h"
#include "window/tab_selection.h"
#include "window/title_bar_commands.h"
#include "window/window_design.h"

namespace taviro {
namespace {

using testing::MainWindowHarness;
using R = RegionId;
using Log = std::vector<std::string>;

class MiniModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (R page : {R::zz, R::tv, R::ying}) m[page].visible = false;
    SelectMainTab(w, MainTab::kCatalogue, true);
  }
  int VisibleNpcCount() const {
    int count = 0;
    for (int i = 0; i <= 15; ++i) count += m[Npc(i)].visible ? 1 : 0;
    return count;
  }
  MainWindowHarness h;
  MainWindow& w = h.window;
  WindowModel& m = h.window.model;
};

// Nothing playing, the window stays as it is but for the hover looks, which
// every title-bar command takes away first.
TEST_F(MiniModeTest, NothingPlayingLeavesTheWindowAloneButItsHoverLooks) {
  int news_resets = 0;
  w.callbacks.clear_news_hover = [&] { ++news_resets; };
  for (int pass = 1; pass <= 2; ++pass) {
    m[R::P1].visible = true;
    m[R::jbi].fore_colour = m[R::qk].fore_colour = kHoverRed;
    if (pass == 1) ClickTitleBarButton(w, 3);
    if (pass == 2) EnterMiniMode(w);  // as the menu's item does
    EXPECT_FALSE(m[R::P1].visible);
    EXPECT_EQ(m[R::jbi].fore_colour, kWhite);
    EXPECT_EQ(m[R::qk].fore_colour, kFooterGrey);
    EXPECT_EQ(news_resets, pass);
  }
  EXPECT_EQ(m.mini_mode, MiniMode::kOff);
  EXPECT_EQ(m.main_tab, MainTab::kCatalogue);
  EXPECT_EQ(w.menu.q_jing, "精简模式");
  EXPECT_TRUE(h.log.entries.empty());
}

TEST_F(MiniModeTest, PlayingFromTheCatalogueTabSwitchesToThePlayerFirst) {
  m.ContentMode = ContentMode::kPlayer;
  ClickTitleBarButton(w, 3);
  EXPECT_EQ(m.main_tab, MainTab::kPlayer);
  EXPECT_FALSE(m[R::zzp].visible);
  EXPECT_TRUE(m[R::zz].visible);
  EXPECT_EQ(m.mini_mode, MiniMode::kPlayer);
  EXPECT_EQ(w.menu.q_jing, "退出精简");
  EXPECT_TRUE(m[R::jbi].visible && m[R::ni_bo1].visible);
  for (R hidden : {R::Imi, R::bo_name, R::ni_name, R::ggx, R::l2, R::bo_foot}) {
    EXPECT_FALSE(m[hidden].visible) << RegionName(hidden);
  }
  EXPECT_EQ(VisibleNpcCount(), 0);
  EXPECT_EQ(m.width_twips, 5900);
  EXPECT_EQ(m.height_twips, 4800);
  EXPECT_EQ(m[Npc(3)].face, (Tile{1, 0, 0, 24, 24}));
  EXPECT_EQ(h.log.entries, (Log{"host.SetState(normal)", "host.Resize(393,320)"}));
}

TEST_F(MiniModeTest, TheWebPlayPageUsesThePlayerMiniModeAndTvItsOwn) {
  m.ContentMode = ContentMode::kWebPlayPage;
  ClickTitleBarButton(w, 3);
  EXPECT_EQ(m.mini_mode, MiniMode::kPlayer);
  JbiClick(w);

  m.ContentMode = ContentMode::kTvPage;
  ClickTitleBarButton(w, 3);
  EXPECT_EQ(m.main_tab, MainTab::kTv);
  EXPECT_EQ(m.mini_mode, MiniMode::kTv);
  EXPECT_FALSE(m[R::gtv].visible || m[R::tvright].visible || m[R::ni_bo1].visible);
  EXPECT_TRUE(m[R::ggx].visible);
  EXPECT_EQ(w.menu.q_jing, "精简模式");
  JbiClick(w);
  EXPECT_TRUE(m[R::gtv].visible && m[R::tvright].visible);
}

TEST_F(MiniModeTest, AMaximisedWindowBecomesNormalAndItsButtonSaysSo) {
  m.ContentMode = ContentMode::kPlayer;
  ClickTitleBarButton(w, 1);
  ClickTitleBarButton(w, 3);
  EXPECT_EQ(h.host.state, WindowState::kNormal);
  EXPECT_EQ(m[Npc(1)].tooltip, "最大化");
  EXPECT_EQ(m[Npc(1)].face, (Tile{1, 96, 0, 24, 24}));
}

TEST_F(MiniModeTest, LeavingWithoutASavedSizeGivesTheMinimumCentredOnTheScreen) {
  m.ContentMode = ContentMode::kPlayer;
  ClickTitleBarButton(w, 3);
  h.log.entries.clear();
  JbiClick(w);
  EXPECT_EQ(m.mini_mode, MiniMode::kOff);
  EXPECT_EQ(m.width_twips, 13500);
  EXPECT_EQ(m.height_twips, 7000);
  // The screen is 1024 x 768 pixels = 15360 x 11520 twips.
  EXPECT_EQ(m.left_twips, 930);
  EXPECT_EQ(m.top_twips, 2260);
  EXPECT_EQ(h.log.entries, (Log{"host.Resize(900,466)", "host.Move(62,150)"}));
  EXPECT_FALSE(m[R::jbi].visible || m[R::ni_bo1].visible);
  for (R shown : {R::Imi, R::bo_name, R::ni_name, R::ggx, R::l2, R::bo_foot}) {
    EXPECT_TRUE(m[shown].visible) << RegionName(shown);
  }
  EXPECT_EQ(VisibleNpcCount(), 16);
  EXPECT_EQ(m[R::ni_name].caption, "Taviro 2.3");
  EXPECT_EQ(w.menu.q_jing, "精简模式");
}

TEST_F(MiniModeTest, LeavingRestoresTheSavedSizeAndOnlyThePanelsThatWereOpen) {
  h.SetSetting("S_q", "h_w", "15000");
  h.SetSetting("S_q", "h_h", "9000");
  ClickTitleBarButton(w, 6);  // hide the player page's panel
  m.ContentMode = ContentMode::kPlayer;
  ClickTitleBarButton(w, 3);
  ClickTitleBarButton(w, 1);  // even the mini window can be maximised
  JbiClick(w);
  EXPECT_EQ(m.state, WindowState::kNormal);
  EXPECT_EQ(m.width_twips, 15000);
  EXPECT_EQ(m.height_twips, 9000);
  EXPECT_EQ(h.host.left, 12);
  EXPECT_EQ(h.host.top, 84);
  EXPECT_FALSE(m[R::l2].visible);
}

}  // namespace
}  // namespace taviro
