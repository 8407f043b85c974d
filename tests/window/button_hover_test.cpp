#include "window/button_hover.h"

#include <gtest/gtest.h>

#include "support/chrome_fakes.h"
#include "window/chrome_state.h"
#include "window/window_design.h"
#include "window/window_layout.h"

namespace taviro {
namespace {

using R = RegionId;

class ButtonHoverTest : public ::testing::Test {
 protected:
  ButtonHoverTest() {
    ApplyDesignSizes(model_);
    ApplyDesignLook(model_);
    LayoutWindow(model_, LayoutEnv{text_, 0});  // 990 x 655
  }
  Tile TitleHover(int index, int x, int y) {
    TitleButtonPointerMoved(model_, env_, index, x, y);
    return model_[Npc(index)].face;
  }
  Tile ControlHover(int index, bool inside) {
    if (inside) {
      ControlButtonPointerMoved(model_, env_, index, 1, 1);
    } else {
      ControlButtonPointerLeft(model_, env_, index);
    }
    return model_[BoBut(index)].face;
  }

  testing::FixedWidthTextMetrics text_;
  testing::RecordingWindowHost host_;
  ChromeEnv env_{host_, text_};
  WindowModel model_;
};

TEST_F(ButtonHoverTest, TitleButtonShowsHoverTileAndTooltipBelowIt) {
  EXPECT_EQ(TitleHover(2, 10, 10), (Tile{2, 120, 0, 24, 24}));
  EXPECT_EQ(model_[R::bo_tip].caption, "关闭");
  EXPECT_EQ(model_[R::bo_tip].rect, (Rect{2, 2, 14, 16}));
  EXPECT_EQ(model_[R::P1].rect, (Rect{953, 31, 19, 21}));  // button at (958, 4)
  EXPECT_TRUE(model_[R::P1].visible);
  EXPECT_EQ(host_.LastPointer(), PointerShape::kArrow);

  TitleButtonPointerLeft(model_, env_, 2);
  EXPECT_EQ(model_[Npc(2)].face, (Tile{1, 120, 0, 24, 24}));
  EXPECT_FALSE(model_[R::P1].visible);

  // The far edges count as inside.
  EXPECT_EQ(TitleHover(0, 24, 24).slot, 2);
  EXPECT_EQ(TitleHover(0, 25, 10).slot, 1);
  EXPECT_FALSE(model_[R::P1].visible);
}

TEST_F(ButtonHoverTest, ToggleTitleButtonsHoverInTheirCurrentState) {
  EXPECT_EQ(TitleHover(1, 3, 3), (Tile{2, 96, 0, 24, 24}));
  model_.state = WindowState::kMaximised;
  EXPECT_EQ(TitleHover(1, 3, 3), (Tile{5, 24, 0, 24, 24}));
  EXPECT_EQ(TitleHover(1, 30, 3), (Tile{5, 0, 0, 24, 24}));

  EXPECT_EQ(TitleHover(4, 3, 3), (Tile{6, 24, 0, 24, 24}));
  SetTopmostShown(model_, true);
  EXPECT_EQ(TitleHover(4, 3, 3), (Tile{6, 72, 0, 24, 24}));
  EXPECT_EQ(model_[R::bo_tip].caption, "取消置顶");
  EXPECT_EQ(TitleHover(4, 3, 30), (Tile{6, 48, 0, 24, 24}));
}

TEST_F(ButtonHoverTest, HandlesAndTabsGetNoHoverLookOrTooltip) {
  model_[Npc(6)].face = Tile{11, 0, 0, 3, 40};
  EXPECT_EQ(TitleHover(6, 1, 1), (Tile{11, 0, 0, 3, 40}));
  EXPECT_FALSE(model_[R::P1].visible);

  TitleHover(2, 1, 1);
  TitleHover(9, 500, 500);  // tabs leave the panel alone
  EXPECT_TRUE(model_[R::P1].visible);
  TitleButtonPointerLeft(model_, env_, 6);
  EXPECT_FALSE(model_[R::P1].visible);
}

TEST_F(ButtonHoverTest, ControlBarTooltipOnlyOnThePlayerPage) {
  model_.main_tab = MainTab::kCatalogue;
  EXPECT_EQ(ControlHover(3, true), (Tile{17, 50, 0, 25, 25}));
  EXPECT_FALSE(model_[R::P1].visible);

  model_.main_tab = MainTab::kPlayer;
  ControlHover(3, true);
  EXPECT_TRUE(model_[R::P1].visible);
  EXPECT_EQ(model_[R::bo_tip].caption, "全屏");
  EXPECT_EQ(model_[R::bo_tip].rect, (Rect{3, 3, 14, 16}));
  // 20 wide, centred over the button at 917 (25 wide), 64 above the bottom.
  EXPECT_EQ(model_[R::P1].rect, (Rect{919, 591, 20, 22}));

  EXPECT_EQ(ControlHover(3, false), (Tile{16, 50, 0, 25, 25}));
  EXPECT_FALSE(model_[R::P1].visible);
}

TEST_F(ButtonHoverTest, ControlBarHoverFollowsPlayAndMuteState) {
  EXPECT_EQ(ControlHover(0, true), (Tile{12, 58, 0, 58, 43}));
  SetPlayingShown(model_, true);
  EXPECT_EQ(ControlHover(0, true).x, 174);
  EXPECT_EQ(ControlHover(0, false).x, 116);

  EXPECT_EQ(ControlHover(2, true), (Tile{14, 25, 0, 25, 25}));
  SetMutedShown(model_, true);
  EXPECT_EQ(ControlHover(2, true).x, 75);
  EXPECT_EQ(ControlHover(2, false).x, 50);

  EXPECT_EQ(ControlHover(7, true), (Tile{18, 75, 0, 25, 25}));
}

TEST_F(ButtonHoverTest, LabelsLightUpAndGoBack) {
  RegionPointerMoved(model_, host_, R::jbi);
  EXPECT_EQ(model_[R::jbi].fore_colour, 0x80U);
  RegionPointerMoved(model_, host_, R::bo_ad);
  EXPECT_EQ(model_[R::jbi].fore_colour, 0xFFFFFFU);
  RegionPointerMoved(model_, host_, R::qk);
  EXPECT_EQ(model_[R::qk].fore_colour, 0x80U);
  RegionPointerMoved(model_, host_, R::shan);
  EXPECT_EQ(model_[R::qk].fore_colour, 0x5A5A5AU);
  RegionPointerMoved(model_, host_, R::Lqvod);
  EXPECT_FALSE(model_[R::Qvodx].enabled);
}

}  // namespace
}  // namespace taviro
