#include "window/window_layout.h"

#include <gtest/gtest.h>

#include "support/chrome_fakes.h"
#include "window/chrome_state.h"
#include "window/window_design.h"

namespace taviro {
namespace {

using R = RegionId;

class WindowLayoutTest : public ::testing::Test {
 protected:
  WindowLayoutTest() {
    ApplyDesignSizes(model_);
    ApplyDesignLook(model_);
  }

  void LayOut(int width_twips = 14850, int height_twips = 9830, int volume = 0) {
    model_.width_twips = width_twips;
    model_.height_twips = height_twips;
    LayoutWindow(model_, LayoutEnv{text_, volume});
  }
  Rect At(RegionId id) const { return model_[id].rect; }

  testing::FixedWidthTextMetrics text_;
  WindowModel model_;
};

TEST_F(WindowLayoutTest, DesignSizeWindowPlacesTitleBarPagesAndControlBar) {
  LayOut();  // 990 x 655 pixels
  EXPECT_EQ(At(Npc(2)), (Rect{958, 4, 24, 24}));
  EXPECT_EQ(At(Npc(0)).left, 910);
  EXPECT_EQ(At(Npc(5)).left, 882);  // 4 pixels more before the menu
  EXPECT_EQ(At(Npc(4)).left, 834);
  EXPECT_EQ(At(Npc(8)), (Rect{200, 0, 100, 37}));
  EXPECT_EQ(At(Npc(14)).left, 500);
  EXPECT_EQ(At(R::ni_name), (Rect{40, 13, 70, 16}));  // sized to "Taviro 2.3"

  const Rect page{2, 39, 986, 570};
  for (RegionId id : {R::zz, R::zzp, R::tv, R::ying}) {
    EXPECT_EQ(At(id), page) << RegionName(id);
  }
  EXPECT_EQ(At(R::wait), (Rect{0, 0, 986, 570}));
  EXPECT_EQ(At(R::jia), (Rect{403, 240, 180, 50}));
  EXPECT_EQ(At(R::Web1), (Rect{-2, -2, 990, 574}));
  EXPECT_EQ(At(R::Web9), (Rect{-2, -2, 990, 574}));
  EXPECT_EQ(At(R::bo_foot), (Rect{2, 609, 986, 43}));

  EXPECT_EQ(At(BoBut(0)), (Rect{20, 0, 58, 43}));
  EXPECT_EQ(At(BoBut(1)), (Rect{85, 11, 25, 25}));
  EXPECT_EQ(At(BoBut(2)).left, 173);
  EXPECT_EQ(At(R::yin), (Rect{199, 11, 80, 24}));
  EXPECT_EQ(At(BoBut(6)).left, 943);
  EXPECT_EQ(At(BoBut(4)).left, 891);
}

TEST_F(WindowLayoutTest, NormalWindowSpringsBackButMaximisedDoesNot) {
  LayOut(12000, 6000);
  EXPECT_EQ(model_.width_twips, 13500);
  EXPECT_EQ(model_.height_twips, 7000);
  EXPECT_EQ(At(Npc(2)).left, 900 - 32);  // laid out with the raised size
  EXPECT_EQ(At(R::zz), (Rect{2, 39, 896, 466 - 85}));
  LayOut(20000, 6999);
  EXPECT_EQ(model_.width_twips, 20000);
  EXPECT_EQ(model_.height_twips, 7000);

  model_.state = WindowState::kMaximised;
  LayOut(12000, 6600);
  EXPECT_EQ(model_.width_twips, 12000);
  EXPECT_EQ(model_.height_twips, 6600);
  EXPECT_EQ(At(R::zz), (Rect{2, 39, 796, 355}));
}

TEST_F(WindowLayoutTest, MinimisedWindowLeavesEveryRegionWhereItWas) {
  LayOut(14850, 9830, 40);
  const WindowModel before = model_;
  model_.state = WindowState::kMinimised;
  LayOut(2000, 500, 90);
  LayoutPlayerArea(model_, LayoutEnv{text_, 90});
  EXPECT_EQ(model_.width_twips, 2000);
  EXPECT_EQ(model_.regions, before.regions);
}

TEST_F(WindowLayoutTest, ShownSidePanelSplitsThePlayerPage) {
  LayOut();
  EXPECT_EQ(At(R::l2), (Rect{784, 0, 202, 570}));
  EXPECT_EQ(At(Npc(6)), (Rect{784, 263, 3, 40}));
  EXPECT_EQ(model_[Npc(6)].face, (Tile{11, 0, 0, 3, 40}));
  EXPECT_EQ(At(R::L1), (Rect{0, 0, 784, 570}));
  EXPECT_EQ(At(R::ggx), (Rect{760, 0, 24, 24}));
  EXPECT_EQ(At(Npc(7)), (Rect{134, 4, 60, 21}));
  // Header, lists and footer stack up to the panel's height.
  EXPECT_EQ(At(R::shan), (Rect{0, 550, 202, 20}));
  EXPECT_EQ(At(R::qk).left, 122);
  EXPECT_EQ(At(R::Pic3), (Rect{0, 28, 202, 522}));
  EXPECT_EQ(At(R::Pic4), At(R::Pic3));
  EXPECT_EQ(At(R::Web3), (Rect{-2, -2, 206, 526}));
  EXPECT_EQ(At(R::Web5), At(R::Web3));
  EXPECT_EQ(At(R::tvleft), (Rect{0, 0, 784, 570}));
  EXPECT_EQ(At(R::Web11), (Rect{-2, -2, 206, 574}));
}

TEST_F(WindowLayoutTest, HiddenSidePanelGivesThePlayerTheWholePage) {
  ShowSidePanelShown(model_, SidePanel::kPlayer, false);
  LayOut();
  EXPECT_EQ(At(Npc(6)), (Rect{982, 263, 3, 40}));
  EXPECT_EQ(model_[Npc(6)].face, (Tile{11, 3, 0, 3, 40}));
  EXPECT_EQ(At(R::L1), (Rect{0, 0, 986, 570}));
  EXPECT_EQ(At(R::l2).left, 784);  // keeps its place
  EXPECT_EQ(At(R::qvod).width, 986);
  EXPECT_EQ(At(Npc(15)).left, 784);  // the TV page has its own state

  ShowSidePanelShown(model_, SidePanel::kTvChannels, false);
  LayoutTvSidePanel(model_, LayoutEnv{text_, 0});
  EXPECT_EQ(At(Npc(15)).left, 982);
  EXPECT_EQ(At(R::tvleft).width, 986);
  EXPECT_EQ(At(R::gtv).left, 962);
  EXPECT_EQ(At(R::Web10), (Rect{-2, -2, 990, 574}));

  ShowSidePanelShown(model_, SidePanel::kPlayer, true);
  LayoutSidePanel(model_, LayoutEnv{text_, 0});
  LayoutPlayerArea(model_, LayoutEnv{text_, 0});
  EXPECT_EQ(At(R::qvod).width, 784);
  EXPECT_EQ(At(R::Web2), (Rect{-2, -2, 788, 574}));
}

TEST_F(WindowLayoutTest, PlayerAreaStacksVideoStatusAndSeekBar) {
  model_[R::bo_name].caption = "abc";
  LayOut();
  EXPECT_EQ(At(R::gunt), (Rect{0, 563, 784, 7}));
  EXPECT_EQ(At(R::bo_zt), (Rect{0, 541, 784, 22}));
  EXPECT_EQ(At(R::Qvodx), (Rect{0, 0, 784, 541}));
  EXPECT_EQ(At(R::bo_ad), At(R::Qvodx));
  EXPECT_EQ(At(R::adp), (Rect{347, 236, 90, 38}));
  EXPECT_EQ(At(R::bo_pad), (Rect{158, 304, 468, 60}));
  EXPECT_EQ(At(R::ad_huan), (Rect{167, 140, 450, 260}));
  EXPECT_EQ(At(R::Web7), (Rect{-2, -2, 454, 264}));
  EXPECT_EQ(At(R::next_s).top, 284);
  EXPECT_EQ(At(R::zhun), (Rect{13, 3, 28, 16}));  // sized to "准备就绪"
  EXPECT_EQ(At(R::bo_name), (Rect{381, 3, 21, 16}));
  EXPECT_EQ(At(R::times), (Rect{699, 3, 72, 16}));
}

TEST_F(WindowLayoutTest, VolumeKnobTravelsTheVolumeBar) {
  LayOut(14850, 9830, 0);
  EXPECT_EQ(At(R::bo_v), (Rect{0, 6, 10, 10}));
  EXPECT_EQ(At(R::bo_y), (Rect{0, 11, 0, 2}));
  LayOut(14850, 9830, 100);
  EXPECT_EQ(At(R::bo_v).right(), At(R::yin).width);
  EXPECT_EQ(At(R::bo_y).width, 70);
  LayOut(14850, 9830, 33);
  EXPECT_EQ(At(R::bo_y).width, 23);
}

TEST_F(WindowLayoutTest, RoundRegionReachesOnePixelBeyondTheWindow) {
  model_.height_twips = 9830;
  const RoundRegion region = ApplyRoundRegion(model_);
  EXPECT_EQ(region.width, 991);
  EXPECT_EQ(region.height, 656);
  EXPECT_EQ(region.corner_width, 4);
}

}  // namespace
}  // namespace taviro
