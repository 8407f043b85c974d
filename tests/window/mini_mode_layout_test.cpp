#include <gtest/gtest.h>

#include <string>

#include "support/chrome_fakes.h"
#include "window/window_design.h"
#include "window/window_layout.h"

namespace taviro {
namespace {

using R = RegionId;

class MiniModeLayoutTest : public ::testing::Test {
 protected:
  MiniModeLayoutTest() {
    ApplyDesignSizes(model_);
    ApplyDesignLook(model_);
    model_.mini_mode = MiniMode::kPlayer;
  }

  void LayOut(int width_twips = 5900, int height_twips = 4800) {
    model_.width_twips = width_twips;
    model_.height_twips = height_twips;
    LayoutWindow(model_, LayoutEnv{text_, 0});
  }
  Rect At(RegionId id) const { return model_[id].rect; }

  testing::FixedWidthTextMetrics text_;
  WindowModel model_;
};

TEST_F(MiniModeLayoutTest, PlayerFillsTheWindowBelowAThinTitle) {
  LayOut();  // 393 x 320 pixels, below the normal minimum
  EXPECT_EQ(model_.width_twips, 5900);
  EXPECT_EQ(At(R::jbi), (Rect{367, 2, 16, 16}));
  EXPECT_EQ(At(R::zz), (Rect{2, 20, 389, 297}));
  EXPECT_EQ(At(R::Pic2), (Rect{0, 0, 389, 297}));
  EXPECT_EQ(At(R::Web2), (Rect{-2, -2, 393, 301}));
  EXPECT_EQ(At(R::bo_zt).top, 297 - 7 - 22);
  EXPECT_FALSE(model_[R::zhun].auto_size);
  EXPECT_EQ(At(R::zhun), (Rect{13, 3, 120, 16}));

  model_.mini_mode = MiniMode::kOff;
  LayOut(14850, 9830);
  EXPECT_TRUE(model_[R::zhun].auto_size);
  EXPECT_EQ(At(R::zhun).width, 28);
}

TEST_F(MiniModeLayoutTest, MiniWindowStopsAtItsOwnMinimum) {
  LayOut(3000, 2000);
  EXPECT_EQ(model_.width_twips, 4100);
  EXPECT_EQ(model_.height_twips, 3000);
  EXPECT_EQ(At(R::zz), (Rect{2, 20, 269, 177}));
}

TEST_F(MiniModeLayoutTest, TitleTakesThePlayingItemsName) {
  model_[R::bo_name].caption = "第1集";
  LayOut();
  EXPECT_EQ(model_[R::ni_name].caption, "第1集");
  EXPECT_EQ(model_[R::ni_bo1].caption, "第1集");
  EXPECT_EQ(At(R::ni_bo1), (Rect{13, 5, 21, 16}));
  model_[R::bo_name].caption.clear();
  LayOut();
  EXPECT_EQ(model_[R::ni_bo1].caption, "第1集");
}

TEST_F(MiniModeLayoutTest, LongTitleWrapsBeforeTheExitGlyph) {
  // jbi at 367 leaves 317 pixels: 45 characters fit, 46 do not.
  model_[R::bo_name].caption = std::string(45, 'x');
  LayOut();
  EXPECT_TRUE(model_[R::ni_bo1].auto_size);
  EXPECT_EQ(At(R::ni_bo1).width, 315);

  model_[R::bo_name].caption = std::string(46, 'x');
  LayOut();
  EXPECT_FALSE(model_[R::ni_bo1].auto_size);
  EXPECT_TRUE(model_[R::ni_bo1].word_wrap);
  EXPECT_EQ(At(R::ni_bo1), (Rect{13, 5, 317, 16}));

  LayOut(9000, 4800);  // room for one line again
  EXPECT_FALSE(model_[R::ni_bo1].word_wrap);
  EXPECT_EQ(At(R::ni_bo1).width, 322);

  // No room at all: the impossible width is ignored.
  model_[R::jbi].rect.width = 550;
  LayOut();
  EXPECT_TRUE(model_[R::ni_bo1].word_wrap);
  EXPECT_EQ(At(R::ni_bo1).width, 322);
}

TEST_F(MiniModeLayoutTest, TvMiniModeShowsOnlyTheTvPage) {
  model_.mini_mode = MiniMode::kTv;
  LayOut();
  EXPECT_EQ(At(R::tv), (Rect{2, 20, 389, 297}));
  EXPECT_EQ(At(R::tvleft), (Rect{0, 0, 389, 297}));
  EXPECT_EQ(At(R::Web10), (Rect{-2, -2, 393, 301}));
  EXPECT_EQ(At(R::zz), Rect{});
}

}  // namespace
}  // namespace taviro
