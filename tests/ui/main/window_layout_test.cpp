#include "ui/main/window_layout.h"

#include <gtest/gtest.h>

#include "support/chrome_fakes.h"
#include "ui/main/window_design.h"

namespace taviro {
namespace {

using R = RegionId;

class WindowLayoutTest : public ::testing::Test {
 protected:
  WindowLayoutTest() {
    ApplyDesignSizes(model_);
    ApplyDesignLook(model_);
  }

  void LayOut(int width_twips, int height_twips, int volume = 0) {
    model_.width_twips = width_twips;
    model_.height_twips = height_twips;
    LayoutWindow(model_, LayoutEnv{text_, volume});
  }

  Rect At(RegionId id) const { return model_[id].rect; }

  testing::FixedWidthTextMetrics text_;
  WindowModel model_;
};

TEST_F(WindowLayoutTest, DesignSizeWindowPlacesTitleBarAndPages) {
  LayOut(14850, 9830);
  ASSERT_EQ(model_.ClientWidth(), 990);
  ASSERT_EQ(model_.ClientHeight(), 655);
  EXPECT_TRUE(model_.laid_out);

  // Right-aligned from the close button, 4 pixels more before the menu.
  EXPECT_EQ(At(Npc(2)), (Rect{958, 4, 24, 24}));
  EXPECT_EQ(At(Npc(1)).left, 934);
  EXPECT_EQ(At(Npc(0)).left, 910);
  EXPECT_EQ(At(Npc(5)).left, 882);
  EXPECT_EQ(At(Npc(3)).left, 858);
  EXPECT_EQ(At(Npc(4)), (Rect{834, 4, 24, 24}));
  EXPECT_EQ(At(Npc(8)), (Rect{200, 0, 100, 37}));
  EXPECT_EQ(At(Npc(9)).left, 300);
  EXPECT_EQ(At(Npc(13)).left, 400);
  EXPECT_EQ(At(Npc(14)), (Rect{500, 0, 100, 37}));
  EXPECT_EQ(At(R::Imi), (Rect{10, 7, 0, 0}));
  EXPECT_EQ(At(R::ni_name), (Rect{40, 13, 70, 16}));  // "Taviro 2.3"

  // 39 pixels of title bar above the pages, 46 below them.
  const Rect page{2, 39, 986, 570};
  EXPECT_EQ(At(R::zz), page);
  EXPECT_EQ(At(R::zzp), page);
  EXPECT_EQ(At(R::tv), page);
  EXPECT_EQ(At(R::ying), page);
  EXPECT_EQ(At(R::Pic1), (Rect{0, 0, 986, 570}));
  EXPECT_EQ(At(R::wait), (Rect{0, 0, 986, 570}));
  EXPECT_EQ(At(R::jia), (Rect{403, 240, 180, 50}));
  EXPECT_EQ(At(R::bo_foot), (Rect{2, 609, 986, 43}));
  EXPECT_EQ(model_[R::bo_foot].face, (Tile{3, 0, 0, 1, 43, true}));
}

TEST_F(WindowLayoutTest, WebViewsOverhangTheirContainersByTwoPixels) {
  LayOut(14850, 9830);
  EXPECT_EQ(FillWithBorderClipped(Rect{5, 7, 100, 50}), (Rect{-2, -2, 104, 54}));
  EXPECT_EQ(At(R::Web1), (Rect{-2, -2, 990, 574}));
  EXPECT_EQ(At(R::Web9), (Rect{-2, -2, 990, 574}));
  EXPECT_EQ(At(R::Web2), (Rect{-2, -2, 788, 574}));
  EXPECT_EQ(At(R::Web3), (Rect{-2, -2, 206, 526}));
  EXPECT_EQ(At(R::Web4), At(R::Web3));
  EXPECT_EQ(At(R::Web5), At(R::Web3));
  EXPECT_EQ(At(R::Web11), (Rect{-2, -2, 206, 574}));
  EXPECT_EQ(At(R::Web10), (Rect{-2, -2, 788, 574}));
  EXPECT_EQ(At(R::Web8), (Rect{-2, -2, 472, 64}));
  EXPECT_EQ(At(R::Web7), (Rect{-2, -2, 454, 264}));
}

TEST_F(WindowLayoutTest, TooSmallNormalWindowSpringsBackToItsMinimum) {
  LayOut(12000, 6000);
  EXPECT_EQ(model_.width_twips, 13500);
  EXPECT_EQ(model_.height_twips, 7000);
  // Laid out with the raised size, not the requested one.
  EXPECT_EQ(At(Npc(2)).left, 900 - 32);
  EXPECT_EQ(At(R::zz), (Rect{2, 39, 896, 466 - 85}));
  EXPECT_EQ(At(R::bo_foot).top, 466 - 46);

  // Each limit on its own.
  LayOut(20000, 6999);
  EXPECT_EQ(model_.width_twips, 20000);
  EXPECT_EQ(model_.height_twips, 7000);
  LayOut(13499, 8000);
  EXPECT_EQ(model_.width_twips, 13500);
  EXPECT_EQ(model_.height_twips, 8000);
}

TEST_F(WindowLayoutTest, MaximisedWindowKeepsTheWorkAreaSize) {
  model_.state = WindowState::kMaximised;
  LayOut(800 * 15, 440 * 15);
  EXPECT_EQ(model_.width_twips, 12000);
  EXPECT_EQ(model_.height_twips, 6600);
  EXPECT_EQ(At(R::zz), (Rect{2, 39, 796, 355}));
  EXPECT_EQ(At(Npc(2)).left, 768);
}

TEST_F(WindowLayoutTest, MinimisedWindowLeavesEveryRegionWhereItWas) {
  LayOut(14850, 9830, 40);
  const WindowModel before = model_;
  model_.state = WindowState::kMinimised;
  model_.width_twips = 2000;
  model_.height_twips = 500;
  LayoutWindow(model_, LayoutEnv{text_, 90});
  LayoutPlayerArea(model_, LayoutEnv{text_, 90});
  EXPECT_EQ(model_.width_twips, 2000);
  EXPECT_EQ(model_.regions, before.regions);
}

TEST_F(WindowLayoutTest, ShownSidePanelPutsTheHandleOnItsLeftEdge) {
  LayOut(14850, 9830);
  EXPECT_EQ(At(R::l2), (Rect{784, 0, 202, 570}));
  EXPECT_EQ(At(Npc(6)), (Rect{784, 263, 3, 40}));
  EXPECT_EQ(model_[Npc(6)].face, (Tile{11, 0, 0, 3, 40}));
  EXPECT_EQ(At(R::L1), (Rect{0, 0, 784, 570}));
  EXPECT_EQ(At(R::Pic2), (Rect{0, 0, 784, 570}));
  EXPECT_EQ(At(R::ggx), (Rect{760, 0, 24, 24}));

  EXPECT_EQ(At(Npc(10)), (Rect{0, 0, 202, 28}));
  EXPECT_EQ(At(Npc(11)), (Rect{8, 4, 60, 21}));
  EXPECT_EQ(At(Npc(12)), (Rect{71, 4, 60, 21}));
  EXPECT_EQ(At(Npc(7)), (Rect{134, 4, 60, 21}));
  // Header, list and footer stack up to the panel's height.
  EXPECT_EQ(At(R::shan), (Rect{0, 550, 202, 20}));
  EXPECT_EQ(At(R::qk), (Rect{122, 6, 72, 14}));
  EXPECT_EQ(At(R::Pic3), (Rect{0, 28, 202, 522}));
  EXPECT_EQ(At(R::Pic4), At(R::Pic3));
  EXPECT_EQ(At(R::Pic5), At(R::Pic3));
}

TEST_F(WindowLayoutTest, HiddenSidePanelGivesThePlayerTheWholePage) {
  model_[Npc(6)].tooltip = "显示侧栏";
  LayOut(14850, 9830);
  EXPECT_EQ(At(Npc(6)), (Rect{982, 263, 3, 40}));
  EXPECT_EQ(model_[Npc(6)].face, (Tile{11, 3, 0, 3, 40}));
  EXPECT_EQ(At(R::L1), (Rect{0, 0, 986, 570}));
  EXPECT_EQ(At(R::l2), (Rect{784, 0, 202, 570}));  // keeps its place
  EXPECT_EQ(At(R::qvod).width, 986);
  EXPECT_EQ(At(R::ggx).left, 986 - 24);
  // The TV page has its own handle and is unaffected.
  EXPECT_EQ(At(Npc(15)).left, 784);

  // Toggling back needs only the side panel and the player area.
  model_[Npc(6)].tooltip = "关闭侧栏";
  LayoutSidePanel(model_, LayoutEnv{text_, 0});
  LayoutPlayerArea(model_, LayoutEnv{text_, 0});
  EXPECT_EQ(At(Npc(6)).left, 784);
  EXPECT_EQ(At(R::qvod).width, 784);
}

TEST_F(WindowLayoutTest, TvSidePanelFollowsItsOwnHandle) {
  LayOut(14850, 9830);
  EXPECT_EQ(At(R::tvright), (Rect{784, 0, 202, 570}));
  EXPECT_EQ(At(Npc(15)), (Rect{784, 263, 3, 40}));
  EXPECT_EQ(At(R::tvleft), (Rect{0, 0, 784, 570}));
  EXPECT_EQ(At(R::gtv), (Rect{760, 0, 24, 24}));

  model_[Npc(15)].tooltip = "显示侧栏";
  LayoutTvSidePanel(model_, LayoutEnv{text_, 0});
  EXPECT_EQ(At(Npc(15)).left, 982);
  EXPECT_EQ(model_[Npc(15)].face.x, 3);
  EXPECT_EQ(At(R::tvleft), (Rect{0, 0, 986, 570}));
  EXPECT_EQ(At(R::gtv).left, 962);
  EXPECT_EQ(At(R::Web10), (Rect{-2, -2, 990, 574}));
  EXPECT_EQ(At(Npc(6)).left, 784);  // the player page's panel stays shown
}

TEST_F(WindowLayoutTest, PlayerAreaStacksVideoStatusAndSeekBar) {
  model_[R::bo_name].caption = "abc";
  LayOut(14850, 9830);
  EXPECT_EQ(At(R::qvod), (Rect{0, 0, 784, 570}));
  EXPECT_EQ(At(R::gunt), (Rect{0, 563, 784, 7}));
  EXPECT_EQ(At(R::bo_zt), (Rect{0, 541, 784, 22}));
  EXPECT_EQ(At(R::Qvodx), (Rect{0, 0, 784, 541}));
  EXPECT_EQ(At(R::QvodC), At(R::Qvodx));
  EXPECT_EQ(At(R::Lqvod), At(R::Qvodx));
  EXPECT_EQ(At(R::bo_ad), At(R::Qvodx));

  // Pause picture centred 15 pixels high, banner 30 below it.
  EXPECT_EQ(At(R::adp), (Rect{232, 165, 320, 180}));
  EXPECT_EQ(At(R::bo_pad), (Rect{158, 375, 468, 60}));
  EXPECT_EQ(At(R::ad_huan), (Rect{167, 140, 450, 260}));
  EXPECT_EQ(At(R::next_s).left, 232);
  EXPECT_EQ(At(R::next_s).top, 355);

  // Status strip: state text sized to "准备就绪", title centred, time
  // right-aligned 13 pixels from the edge.
  EXPECT_TRUE(model_[R::zhun].auto_size);
  EXPECT_EQ(At(R::zhun), (Rect{13, 3, 28, 16}));
  EXPECT_EQ(At(R::bo_name), (Rect{381, 3, 21, 16}));
  EXPECT_EQ(At(R::times), (Rect{699, 3, 72, 16}));
}

TEST_F(WindowLayoutTest, ControlBarButtonsRunFromBothEnds) {
  LayOut(14850, 9830);
  EXPECT_EQ(At(BoBut(0)), (Rect{20, 0, 58, 43}));
  EXPECT_EQ(At(BoBut(1)), (Rect{85, 11, 25, 25}));
  EXPECT_EQ(At(BoBut(5)).left, 114);
  EXPECT_EQ(At(BoBut(7)).left, 143);
  EXPECT_EQ(At(BoBut(2)).left, 173);
  EXPECT_EQ(At(R::yin), (Rect{199, 11, 80, 24}));
  EXPECT_EQ(At(BoBut(6)), (Rect{943, 11, 25, 25}));
  EXPECT_EQ(At(BoBut(3)).left, 917);
  EXPECT_EQ(At(BoBut(4)).left, 891);
  EXPECT_EQ(At(R::La_0).left, 470);
  EXPECT_EQ(At(R::La_0).top, 18);

  LayOut(20000, 9830);
  EXPECT_EQ(At(BoBut(6)).left, 1333 - 47);
  EXPECT_EQ(At(BoBut(2)).left, 173);
}

TEST_F(WindowLayoutTest, VolumeKnobTravelsTheVolumeBar) {
  LayOut(14850, 9830, 0);
  EXPECT_EQ(At(R::bo_v), (Rect{0, 6, 10, 10}));
  EXPECT_EQ(At(R::bo_y), (Rect{0, 11, 0, 2}));

  LayOut(14850, 9830, 100);
  EXPECT_EQ(At(R::bo_v).right(), At(R::yin).width);
  EXPECT_EQ(At(R::bo_y), (Rect{0, 11, 70, 2}));

  LayOut(14850, 9830, 33);
  EXPECT_EQ(At(R::bo_v).left, 23);
  EXPECT_EQ(At(R::bo_y).width, 23);
}

TEST_F(WindowLayoutTest, RoundRegionCoversTheWholeWindow) {
  model_.width_twips = 14850;
  model_.height_twips = 9830;
  const RoundRegion region = ApplyRoundRegion(model_);
  EXPECT_EQ(region.width, 991);
  EXPECT_EQ(region.height, 656);
  EXPECT_EQ(region.corner_width, 4);
  EXPECT_EQ(region.corner_height, 4);
}

}  // namespace
}  // namespace taviro
