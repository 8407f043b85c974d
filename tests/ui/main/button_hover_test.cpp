#include "ui/main/button_hover.h"

#include <gtest/gtest.h>

#include "support/chrome_fakes.h"
#include "ui/main/window_design.h"
#include "ui/main/window_layout.h"

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

  testing::FixedWidthTextMetrics text_;
  testing::RecordingWindowHost host_;
  ChromeEnv env_{host_, text_};
  WindowModel model_;
};

TEST_F(ButtonHoverTest, TitleButtonShowsHoverTileAndTooltipBelowIt) {
  TitleButtonPointerMoved(model_, env_, 2, 10, 10);
  EXPECT_EQ(model_[Npc(2)].face, (Tile{2, 120, 0, 24, 24}));
  EXPECT_EQ(model_[R::bo_tip].caption, "关闭");
  EXPECT_EQ(model_[R::bo_tip].rect, (Rect{2, 2, 14, 16}));
  // Close button at (958, 4).
  EXPECT_EQ(model_[R::P1].rect, (Rect{953, 31, 19, 21}));
  EXPECT_TRUE(model_[R::P1].visible);
  EXPECT_EQ(host_.LastPointer(), PointerShape::kArrow);

  TitleButtonPointerLeft(model_, env_, 2);
  EXPECT_EQ(model_[Npc(2)].face, (Tile{1, 120, 0, 24, 24}));
  EXPECT_FALSE(model_[R::P1].visible);
}

TEST_F(ButtonHoverTest, InsideIncludesTheFarEdgeOfTheButton) {
  TitleButtonPointerMoved(model_, env_, 0, 24, 24);
  EXPECT_EQ(model_[Npc(0)].face, (Tile{2, 72, 0, 24, 24}));
  TitleButtonPointerMoved(model_, env_, 0, 25, 10);
  EXPECT_EQ(model_[Npc(0)].face, (Tile{1, 72, 0, 24, 24}));
  EXPECT_FALSE(model_[R::P1].visible);
  TitleButtonPointerMoved(model_, env_, 0, 5, -1);
  EXPECT_EQ(model_[Npc(0)].face.slot, 1);
}

TEST_F(ButtonHoverTest, ToggleButtonsHoverInTheirCurrentState) {
  TitleButtonPointerMoved(model_, env_, 1, 3, 3);
  EXPECT_EQ(model_[Npc(1)].face, (Tile{2, 96, 0, 24, 24}));
  model_.state = WindowState::kMaximised;
  TitleButtonPointerMoved(model_, env_, 1, 3, 3);
  EXPECT_EQ(model_[Npc(1)].face, (Tile{5, 24, 0, 24, 24}));
  TitleButtonPointerLeft(model_, env_, 1);
  EXPECT_EQ(model_[Npc(1)].face, (Tile{5, 0, 0, 24, 24}));

  TitleButtonPointerMoved(model_, env_, 4, 3, 3);
  EXPECT_EQ(model_[Npc(4)].face, (Tile{6, 24, 0, 24, 24}));
  model_[Npc(4)].tooltip = "取消置顶";
  TitleButtonPointerMoved(model_, env_, 4, 3, 3);
  EXPECT_EQ(model_[Npc(4)].face, (Tile{6, 72, 0, 24, 24}));
  EXPECT_EQ(model_[R::bo_tip].caption, "取消置顶");
  TitleButtonPointerLeft(model_, env_, 4);
  EXPECT_EQ(model_[Npc(4)].face, (Tile{6, 48, 0, 24, 24}));
}

TEST_F(ButtonHoverTest, HandlesAndTabsGetNoHoverLook) {
  model_[Npc(6)].face = Tile{11, 0, 0, 3, 40};
  TitleButtonPointerMoved(model_, env_, 6, 1, 1);
  EXPECT_EQ(model_[Npc(6)].face, (Tile{11, 0, 0, 3, 40}));
  EXPECT_FALSE(model_[R::P1].visible);  // the handle's tooltip is its state

  // A tab neither shows nor hides the panel.
  TitleButtonPointerMoved(model_, env_, 2, 1, 1);
  TitleButtonPointerMoved(model_, env_, 9, 500, 500);
  EXPECT_TRUE(model_[R::P1].visible);
  EXPECT_EQ(host_.LastPointer(), PointerShape::kArrow);
  // Leaving handle 6 does hide it.
  TitleButtonPointerLeft(model_, env_, 6);
  EXPECT_FALSE(model_[R::P1].visible);
}

TEST_F(ButtonHoverTest, ControlBarTooltipOnlyOnThePlayerPage) {
  model_.CurrentMainTab = 8;
  ControlButtonPointerMoved(model_, env_, 3, 5, 5);
  EXPECT_EQ(model_[BoBut(3)].face, (Tile{17, 50, 0, 25, 25}));
  EXPECT_FALSE(model_[R::P1].visible);

  model_.CurrentMainTab = 9;
  ControlButtonPointerMoved(model_, env_, 3, 5, 5);
  EXPECT_TRUE(model_[R::P1].visible);
  EXPECT_EQ(model_[R::bo_tip].caption, "全屏");
  EXPECT_EQ(model_[R::bo_tip].rect, (Rect{3, 3, 14, 16}));
  // 20 x 22 panel centred over the button at 917 (25 wide), 64 above the
  // window's bottom.
  EXPECT_EQ(model_[R::P1].rect, (Rect{919, 655 - 64, 20, 22}));

  ControlButtonPointerLeft(model_, env_, 3);
  EXPECT_EQ(model_[BoBut(3)].face, (Tile{16, 50, 0, 25, 25}));
  EXPECT_FALSE(model_[R::P1].visible);
}

TEST_F(ButtonHoverTest, ControlBarHoverFollowsPlayAndMuteState) {
  ControlButtonPointerMoved(model_, env_, 0, 30, 30);
  EXPECT_EQ(model_[BoBut(0)].face, (Tile{12, 58, 0, 58, 43}));
  model_[BoBut(0)].tooltip = "暂停";
  ControlButtonPointerMoved(model_, env_, 0, 58, 43);
  EXPECT_EQ(model_[BoBut(0)].face, (Tile{12, 174, 0, 58, 43}));
  ControlButtonPointerLeft(model_, env_, 0);
  EXPECT_EQ(model_[BoBut(0)].face, (Tile{12, 116, 0, 58, 43}));

  ControlButtonPointerMoved(model_, env_, 2, 1, 1);
  EXPECT_EQ(model_[BoBut(2)].face, (Tile{14, 25, 0, 25, 25}));
  model_[BoBut(2)].tooltip = "取消静音";
  ControlButtonPointerMoved(model_, env_, 2, 1, 1);
  EXPECT_EQ(model_[BoBut(2)].face, (Tile{14, 75, 0, 25, 25}));
  ControlButtonPointerLeft(model_, env_, 2);
  EXPECT_EQ(model_[BoBut(2)].face, (Tile{14, 50, 0, 25, 25}));

  ControlButtonPointerMoved(model_, env_, 7, 1, 1);
  EXPECT_EQ(model_[BoBut(7)].face, (Tile{18, 75, 0, 25, 25}));
  ControlButtonPointerMoved(model_, env_, 5, 1, 1);
  EXPECT_EQ(model_[BoBut(5)].face, (Tile{18, 25, 0, 25, 25}));
  ControlButtonPointerMoved(model_, env_, 1, 1, 1);
  EXPECT_EQ(model_[BoBut(1)].face, (Tile{13, 25, 0, 25, 25}));
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

  EXPECT_TRUE(model_[R::Qvodx].enabled);
  RegionPointerMoved(model_, host_, R::Lqvod);
  EXPECT_FALSE(model_[R::Qvodx].enabled);

  const std::size_t pointer_calls = host_.pointers.size();
  RegionPointerMoved(model_, host_, R::Web1);  // no feedback of its own
  EXPECT_EQ(host_.pointers.size(), pointer_calls);
}

}  // namespace
}  // namespace taviro
