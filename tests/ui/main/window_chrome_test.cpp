#include "ui/main/window_chrome.h"

#include <gtest/gtest.h>

#include "ui/main/window_design.h"
#include "ui/main/window_layout.h"

namespace taviro {
namespace {

enum Piece { kLeft, kRight, kBottomMiddle, kBottomLeft, kBottomRight, kTopMiddle, kTopLeft, kTopRight };

// The top row and the bottom row each cover the full width without a gap,
// and the sides run from under the top row to the bottom edge.
void ExpectFrameClosed(const std::array<FramePiece, 8>& pieces, int width, int height, int top_height) {
  EXPECT_EQ(pieces[kTopLeft].destination.right(), pieces[kTopMiddle].destination.left);
  EXPECT_EQ(pieces[kTopMiddle].destination.right(), pieces[kTopRight].destination.left);
  EXPECT_EQ(pieces[kTopRight].destination.right(), width);
  EXPECT_EQ(pieces[kBottomLeft].destination.right(), pieces[kBottomMiddle].destination.left);
  EXPECT_EQ(pieces[kBottomMiddle].destination.right(), pieces[kBottomRight].destination.left);
  EXPECT_EQ(pieces[kBottomRight].destination.right(), width);
  for (Piece piece : {kBottomLeft, kBottomMiddle, kBottomRight}) {
    EXPECT_EQ(pieces[piece].destination.bottom(), height);
  }
  for (Piece side : {kLeft, kRight}) {
    EXPECT_EQ(pieces[side].destination.top, top_height);
    EXPECT_EQ(pieces[side].destination.bottom(), height);
  }
  EXPECT_EQ(pieces[kLeft].destination.left, 0);
  EXPECT_EQ(pieces[kRight].destination.right(), width);
}

TEST(FramePieces, NormalFrameIsPaintedSidesFirstAndClosesAroundTheWindow) {
  const auto pieces = FramePieces(990, 655, false);
  ExpectFrameClosed(pieces, 990, 655, 55);
  EXPECT_EQ(pieces[kLeft].source, (Rect{0, 55, 35, 8}));
  EXPECT_EQ(pieces[kLeft].destination, (Rect{0, 55, 35, 600}));
  EXPECT_EQ(pieces[kTopMiddle].source, (Rect{40, 0, 10, 55}));
  EXPECT_EQ(pieces[kTopMiddle].destination, (Rect{40, 0, 920, 55}));
  EXPECT_EQ(pieces[kBottomRight].source, (Rect{45, 63, 35, 45}));
  EXPECT_EQ(pieces[kBottomRight].destination, (Rect{955, 610, 35, 45}));
  EXPECT_EQ(pieces[kTopRight].source, (Rect{50, 0, 30, 55}));
}

TEST(FramePieces, MiniFrameHasAThinTopAndTheSameBottom) {
  const auto normal = FramePieces(393, 320, false);
  const auto mini = FramePieces(393, 320, true);
  ExpectFrameClosed(mini, 393, 320, 30);
  EXPECT_EQ(mini[kTopLeft].source, (Rect{0, 0, 40, 30}));
  EXPECT_EQ(mini[kLeft].source, (Rect{0, 50, 35, 33}));
  EXPECT_EQ(mini[kRight].source, (Rect{45, 50, 35, 33}));
  EXPECT_EQ(mini[kRight].destination, (Rect{358, 30, 35, 290}));
  for (Piece piece : {kBottomLeft, kBottomMiddle, kBottomRight}) {
    EXPECT_EQ(mini[piece].source, normal[piece].source);
    EXPECT_EQ(mini[piece].destination, normal[piece].destination);
  }
}

class PaintButtonsTest : public ::testing::Test {
 protected:
  PaintButtonsTest() {
    ApplyDesignSizes(model_);
    ApplyDesignLook(model_);
  }
  Tile Face(RegionId id) const { return model_[id].face; }
  WindowModel model_;
};

TEST_F(PaintButtonsTest, NormalWindowGetsNormalTiles) {
  PaintButtons(model_);
  EXPECT_EQ(Face(Npc(3)), (Tile{1, 0, 0, 24, 24}));
  EXPECT_EQ(Face(Npc(5)), (Tile{1, 48, 0, 24, 24}));
  EXPECT_EQ(Face(Npc(0)), (Tile{1, 72, 0, 24, 24}));
  EXPECT_EQ(Face(Npc(1)), (Tile{1, 96, 0, 24, 24}));
  EXPECT_EQ(Face(Npc(2)), (Tile{1, 120, 0, 24, 24}));
  EXPECT_EQ(Face(Npc(4)), (Tile{6, 0, 0, 24, 24}));
  EXPECT_EQ(Face(Npc(9)), (Tile{8, 0, 0, 100, 37}));
  EXPECT_EQ(Face(Npc(8)), (Tile{8, 100, 0, 100, 37}));
  EXPECT_EQ(Face(Npc(13)), (Tile{8, 200, 0, 100, 37}));
  EXPECT_EQ(Face(Npc(14)), (Tile{8, 300, 0, 100, 37}));
  EXPECT_EQ(Face(Npc(10)), (Tile{10, 0, 0, 2, 28, true}));
  EXPECT_EQ(Face(Npc(11)), (Tile{9, 0, 21, 60, 21}));
  EXPECT_EQ(Face(Npc(7)), (Tile{9, 120, 21, 60, 21}));
  EXPECT_EQ(Face(Npc(12)), Tile{});  // painted by the tab selection
  EXPECT_EQ(Face(RegionId::yin), (Tile{15, 0, 0, 80, 24}));
  EXPECT_EQ(Face(RegionId::bo_v), (Tile{4, 0, 0, 10, 10}));
  EXPECT_EQ(Face(BoBut(3)), (Tile{16, 50, 0, 25, 25}));
  EXPECT_EQ(Face(BoBut(4)), (Tile{16, 25, 0, 25, 25}));
  EXPECT_EQ(Face(BoBut(6)), (Tile{16, 75, 0, 25, 25}));
  EXPECT_EQ(Face(BoBut(5)), (Tile{18, 0, 0, 25, 25}));
  EXPECT_EQ(Face(BoBut(7)), (Tile{18, 50, 0, 25, 25}));
}

TEST_F(PaintButtonsTest, TogglesShowTheirStateButPlayAndMuteStartOver) {
  model_.state = WindowState::kMaximised;
  model_[Npc(4)].tooltip = "取消置顶";
  model_[BoBut(0)].tooltip = "暂停";
  model_[BoBut(2)].tooltip = "取消静音";
  PaintButtons(model_);
  EXPECT_EQ(Face(Npc(1)), (Tile{5, 0, 0, 24, 24}));
  EXPECT_EQ(Face(Npc(4)), (Tile{6, 48, 0, 24, 24}));
  EXPECT_EQ(Face(BoBut(0)), (Tile{12, 0, 0, 58, 43}));
  EXPECT_EQ(Face(BoBut(1)), (Tile{13, 0, 0, 25, 25}));
  EXPECT_EQ(Face(BoBut(2)), (Tile{14, 0, 0, 25, 25}));
}

}  // namespace
}  // namespace taviro
