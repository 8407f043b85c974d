#include "window/window_chrome.h"

#include <gtest/gtest.h>

#include "window/chrome_state.h"
#include "window/window_design.h"
#include "window/window_layout.h"

namespace taviro {
namespace {

enum Piece { kLeft, kRight, kBottomMiddle, kBottomLeft, kBottomRight, kTopMiddle, kTopLeft, kTopRight };

// Top and bottom rows cover the full width without a gap; the sides run
// from under the top row to the bottom edge.
void ExpectFrameClosed(const std::array<FramePiece, 8>& pieces, int width, int height, int top_height) {
  auto dest = [&](Piece piece) { return pieces[piece].destination; };
  EXPECT_EQ(dest(kTopLeft).right(), dest(kTopMiddle).left);
  EXPECT_EQ(dest(kTopMiddle).right(), dest(kTopRight).left);
  EXPECT_EQ(dest(kTopRight).right(), width);
  EXPECT_EQ(dest(kBottomLeft).right(), dest(kBottomMiddle).left);
  EXPECT_EQ(dest(kBottomMiddle).right(), dest(kBottomRight).left);
  EXPECT_EQ(dest(kBottomRight).right(), width);
  EXPECT_EQ(dest(kBottomMiddle).bottom(), height);
  for (Piece side : {kLeft, kRight}) {
    EXPECT_EQ(dest(side).top, top_height);
    EXPECT_EQ(dest(side).bottom(), height);
  }
  EXPECT_EQ(dest(kRight).right(), width);
}

TEST(FramePieces, NormalFrameIsPaintedSidesFirstAndClosesAroundTheWindow) {
  const auto pieces = FramePieces(990, 655, false);
  ExpectFrameClosed(pieces, 990, 655, 55);
  EXPECT_EQ(pieces[kLeft].source, (Rect{0, 55, 35, 8}));
  EXPECT_EQ(pieces[kTopMiddle].source, (Rect{40, 0, 10, 55}));
  EXPECT_EQ(pieces[kBottomRight].destination, (Rect{955, 610, 35, 45}));
}

TEST(FramePieces, MiniFrameHasAThinTopAndTheSameBottom) {
  const auto normal = FramePieces(393, 320, false);
  const auto mini = FramePieces(393, 320, true);
  ExpectFrameClosed(mini, 393, 320, 30);
  EXPECT_EQ(mini[kTopRight].source, (Rect{50, 0, 30, 30}));
  EXPECT_EQ(mini[kRight].source, (Rect{45, 50, 35, 33}));
  for (Piece piece : {kBottomLeft, kBottomMiddle, kBottomRight}) {
    EXPECT_EQ(mini[piece].source, normal[piece].source);
  }
}

TEST(PaintButtons, TogglesShowTheirStateButPlayAndMuteStartOver) {
  WindowModel model;
  ApplyDesignSizes(model);
  ApplyDesignLook(model);
  PaintButtons(model);
  EXPECT_EQ(model[Npc(1)].face, (Tile{1, 96, 0, 24, 24}));
  EXPECT_EQ(model[Npc(4)].face, (Tile{6, 0, 0, 24, 24}));
  EXPECT_EQ(model[Npc(13)].face, (Tile{8, 200, 0, 100, 37}));
  EXPECT_EQ(model[Npc(7)].face, (Tile{9, 120, 21, 60, 21}));
  EXPECT_EQ(model[Npc(12)].face, Tile{});  // left to the tab selection
  EXPECT_EQ(model[RegionId::bo_v].face, (Tile{4, 0, 0, 10, 10}));

  model.state = WindowState::kMaximised;
  SetTopmostShown(model, true);
  SetPlayingShown(model, true);
  SetMutedShown(model, true);
  PaintButtons(model);
  EXPECT_EQ(model[Npc(1)].face, (Tile{5, 0, 0, 24, 24}));
  EXPECT_EQ(model[Npc(4)].face, (Tile{6, 48, 0, 24, 24}));
  EXPECT_EQ(model[BoBut(0)].face, (Tile{12, 0, 0, 58, 43}));
  EXPECT_EQ(model[BoBut(2)].face, (Tile{14, 0, 0, 25, 25}));
}

}  // namespace
}  // namespace taviro
