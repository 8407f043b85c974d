#include "window/tab_selection.h"

#include <gtest/gtest.h>

#include "support/main_window_harness.h"
#include "window/tab_faces.h"

namespace taviro {
namespace {

using testing::MainWindowHarness;
using R = RegionId;

class TabSelection : public ::testing::Test {
 protected:
  void SetUp() override {
    for (R page : {R::zz, R::tv, R::ying, R::Pic4, R::Pic5}) m[page].visible = false;
    SelectMainTab(w, MainTab::kCatalogue, true);
    SelectSideTab(w, SideTab::kTasks, true);
  }
  MainWindowHarness h;
  MainWindow& w = h.window;
  WindowModel& m = h.window.model;
};

TEST_F(TabSelection, MainTabsShowOnePageAndPaintTheirTiles) {
  SelectMainTab(w, MainTab::kTv, false);
  EXPECT_EQ(m.main_tab, MainTab::kTv);
  EXPECT_FALSE(m[R::zzp].visible);
  EXPECT_TRUE(m[R::tv].visible);
  EXPECT_EQ(m[Npc(8)].face, (Tile{8, 100, 0, 100, 37}));
  EXPECT_EQ(m[Npc(13)].face, (Tile{7, 200, 0, 100, 37}));
  SelectMainTab(w, MainTab::kHighlights, false);
  EXPECT_FALSE(m[R::tv].visible);
  EXPECT_TRUE(m[R::ying].visible);
  EXPECT_EQ(m[Npc(14)].face, (Tile{7, 300, 0, 100, 37}));
  SelectMainTab(w, MainTab::kPlayer, false);
  EXPECT_EQ(m[Npc(9)].face, (Tile{7, 0, 0, 100, 37}));
}

TEST_F(TabSelection, TheSelectedTabIsOnlyRepaintedWhenForcedAndKeepsItsPage) {
  m[Npc(8)].face = m[Npc(12)].face = Tile{};  // as if a skin change had wiped them
  SelectMainTab(w, MainTab::kCatalogue, false);
  SelectSideTab(w, SideTab::kTasks, false);
  EXPECT_EQ(m[Npc(8)].face, Tile{});
  EXPECT_EQ(m[Npc(12)].face, Tile{});

  SelectMainTab(w, MainTab::kCatalogue, true);
  SelectSideTab(w, SideTab::kTasks, true);
  EXPECT_EQ(m[Npc(8)].face, MainTabFace(8, true));
  EXPECT_EQ(m[Npc(12)].face, SideTabFace(12, true));
  EXPECT_TRUE(m[R::zzp].visible);
  EXPECT_TRUE(m[R::Pic3].visible);
}

TEST_F(TabSelection, SideTabsSwitchListsAndTheFooterCaption) {
  SelectSideTab(w, SideTab::kLocalFiles, false);
  EXPECT_TRUE(m[R::Pic4].visible);
  EXPECT_FALSE(m[R::Pic3].visible);
  EXPECT_EQ(m[R::qk].caption, "∴ 清空列表");
  EXPECT_EQ(m[Npc(7)].face, (Tile{9, 120, 0, 60, 21}));
  EXPECT_EQ(m[Npc(12)].face, (Tile{9, 60, 21, 60, 21}));
  SelectSideTab(w, SideTab::kEpisodes, false);
  EXPECT_TRUE(m[R::Pic5].visible);
  EXPECT_FALSE(m[R::Pic4].visible);
  EXPECT_EQ(m[R::qk].caption, "∴ 管理任务");
  EXPECT_EQ(m[Npc(11)].face, (Tile{9, 0, 0, 60, 21}));
}

}  // namespace
}  // namespace taviro
