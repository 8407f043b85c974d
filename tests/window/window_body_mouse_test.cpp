#include "window/window_body_mouse.h"

#include <gtest/gtest.h>

#include "support/chrome_fakes.h"
#include "window/window_design.h"

namespace taviro {
namespace {

class WindowBodyMouseTest : public ::testing::Test {
 protected:
  WindowBodyMouseTest() { ApplyDesignLook(model_); }  // 990 x 655

  testing::RecordingWindowHost host_;
  WindowModel model_;
};

TEST_F(WindowBodyMouseTest, ZonesTakeThreePixelsAndCornersComeFirst) {
  struct Case {
    int x, y;
    std::optional<ResizeEdge> edge;
    PointerShape pointer;
  };
  const Case cases[] = {
      {3, 3, ResizeEdge::kTopLeft, PointerShape::kSizeNwSe},
      {0, 300, ResizeEdge::kLeft, PointerShape::kSizeWe},
      {3, 652, ResizeEdge::kBottomLeft, PointerShape::kSizeNeSw},
      {4, 3, ResizeEdge::kTop, PointerShape::kSizeNs},
      {986, 654, ResizeEdge::kBottom, PointerShape::kSizeNs},
      {987, 0, ResizeEdge::kTopRight, PointerShape::kSizeNeSw},
      {989, 651, ResizeEdge::kRight, PointerShape::kSizeWe},
      {987, 652, ResizeEdge::kBottomRight, PointerShape::kSizeNwSe},
      {4, 4, std::nullopt, PointerShape::kArrow},
      {986, 651, std::nullopt, PointerShape::kArrow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(ResizeZone(model_, c.x, c.y), c.edge);
    TrackEdgeResize(model_, host_, EdgeAction::kMove, c.x, c.y);
    EXPECT_EQ(host_.LastPointer(), c.pointer);
  }
  EXPECT_TRUE(host_.resize_drags.empty());
}

TEST_F(WindowBodyMouseTest, PressThreePixelsInResizesFourPixelsInDrags) {
  BodyButtonPressed(model_, host_, MouseButton::kRight, 3, 300);
  EXPECT_TRUE(model_.ignore_next_click);  // and no resize
  EXPECT_TRUE(host_.resize_drags.empty());
  BodyButtonPressed(model_, host_, MouseButton::kLeft, 3, 300);
  EXPECT_FALSE(model_.ignore_next_click);
  EXPECT_EQ(host_.resize_drags, std::vector{ResizeEdge::kLeft});
  EXPECT_TRUE(model_.EdgeResizeActive);
  BodyButtonReleased(model_, host_, 3, 300);
  EXPECT_FALSE(model_.EdgeResizeActive);

  BodyButtonPressed(model_, host_, MouseButton::kLeft, 4, 300);
  EXPECT_EQ(host_.resize_drags.size(), 1U);
  EXPECT_EQ(host_.move_drags, 0);
  BodyPointerMoved(model_, host_, 5, 300, true);
  EXPECT_EQ(host_.move_drags, 1);
  EXPECT_EQ(host_.LastPointer(), PointerShape::kArrow);
}

TEST_F(WindowBodyMouseTest, DragStartsOnlyOffTheTopAndSideBands) {
  BodyPointerMoved(model_, host_, 3, 300, true);
  BodyPointerMoved(model_, host_, 987, 300, true);
  BodyPointerMoved(model_, host_, 500, 3, true);
  EXPECT_EQ(host_.move_drags, 0);
  BodyPointerMoved(model_, host_, 986, 654, true);  // the bottom band does not count
  EXPECT_EQ(host_.move_drags, 1);
  BodyPointerMoved(model_, host_, 500, 300, false);
  EXPECT_EQ(host_.move_drags, 1);
}

TEST_F(WindowBodyMouseTest, HoveringTheBandOnlyChangesThePointer) {
  model_[RegionId::jbi].fore_colour = 0x80;
  model_[RegionId::qk].fore_colour = 0x80;
  BodyPointerMoved(model_, host_, 500, 1, false);
  EXPECT_EQ(model_[RegionId::jbi].fore_colour, 0xFFFFFFU);
  EXPECT_EQ(model_[RegionId::qk].fore_colour, 0x5A5A5AU);
  EXPECT_EQ(host_.LastPointer(), PointerShape::kSizeNs);
  EXPECT_FALSE(model_.PointerInBody);
  EXPECT_TRUE(host_.resize_drags.empty());
  BodyPointerMoved(model_, host_, -2, 300, false);  // outside the client area
  EXPECT_EQ(host_.LastPointer(), PointerShape::kArrow);
  EXPECT_TRUE(model_.PointerInBody);
}

TEST_F(WindowBodyMouseTest, MaximisedWindowNeitherDragsNorResizes) {
  model_.state = WindowState::kMaximised;
  BodyButtonPressed(model_, host_, MouseButton::kLeft, 3, 300);
  BodyPointerMoved(model_, host_, 500, 300, true);
  EXPECT_TRUE(host_.resize_drags.empty());
  EXPECT_EQ(host_.move_drags, 0);
  EXPECT_FALSE(model_.EdgeResizeActive);
}

TEST_F(WindowBodyMouseTest, ReleaseEndsTheResizeOnlyAfterAMoveInTheBand) {
  BodyButtonPressed(model_, host_, MouseButton::kLeft, 989, 300);
  BodyPointerMoved(model_, host_, 500, 300, false);
  BodyButtonReleased(model_, host_, 500, 300);
  EXPECT_TRUE(model_.EdgeResizeActive);
  BodyPointerMoved(model_, host_, 989, 300, false);
  BodyButtonReleased(model_, host_, 989, 300);
  EXPECT_FALSE(model_.EdgeResizeActive);
}

}  // namespace
}  // namespace taviro
