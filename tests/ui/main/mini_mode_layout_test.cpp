#include <gtest/gtest.h>

#include <string>

#include "support/chrome_fakes.h"
#include "ui/main/window_design.h"
#include "ui/main/window_layout.h"

namespace taviro {
namespace {

using R = RegionId;

class MiniModeLayoutTest : public ::testing::Test {
 protected:
  MiniModeLayoutTest() {
    ApplyDesignSizes(model_);
    ApplyDesignLook(model_);
    model_.MiniMode = 1;
    model_.width_twips = 5900;
    model_.height_twips = 4800;
  }

  void LayOut() { LayoutWindow(model_, LayoutEnv{text_, 0}); }
  Rect At(RegionId id) const { return model_[id].rect; }

  testing::FixedWidthTextMetrics text_;
  WindowModel model_;
};

TEST_F(MiniModeLayoutTest, PlayerMiniModeFillsTheWindowBelowAThinTitle) {
  LayOut();
  EXPECT_EQ(model_.width_twips, 5900);  // not sprung back to the normal minimum
  ASSERT_EQ(model_.ClientWidth(), 393);
  ASSERT_EQ(model_.ClientHeight(), 320);
  EXPECT_EQ(At(R::jbi), (Rect{367, 2, 16, 16}));
  EXPECT_EQ(At(R::zz), (Rect{2, 20, 389, 297}));
  EXPECT_EQ(At(R::L1), (Rect{0, 0, 389, 297}));
  EXPECT_EQ(At(R::Pic2), (Rect{0, 0, 389, 297}));
  EXPECT_EQ(At(R::Web2), (Rect{-2, -2, 393, 301}));
  // The player area follows, with the state text cut to 120 pixels.
  EXPECT_EQ(At(R::qvod), (Rect{0, 0, 389, 297}));
  EXPECT_EQ(At(R::bo_zt).top, 297 - 7 - 22);
  EXPECT_FALSE(model_[R::zhun].auto_size);
  EXPECT_EQ(At(R::zhun), (Rect{13, 3, 120, 16}));
  EXPECT_EQ(At(R::times).left, 389 - 72 - 13);

  // Back in normal mode the state text sizes itself again.
  model_.MiniMode = 0;
  model_.width_twips = 14850;
  model_.height_twips = 9830;
  LayOut();
  EXPECT_TRUE(model_[R::zhun].auto_size);
  EXPECT_EQ(At(R::zhun).width, 28);
}

TEST_F(MiniModeLayoutTest, MiniWindowStopsAtItsOwnMinimum) {
  model_.width_twips = 3000;
  model_.height_twips = 2000;
  LayOut();
  EXPECT_EQ(model_.width_twips, 4100);
  EXPECT_EQ(model_.height_twips, 3000);
  EXPECT_EQ(At(R::zz), (Rect{2, 20, 273 - 4, 200 - 23}));
  EXPECT_EQ(At(R::jbi).left, 273 - 16 - 10);
}

TEST_F(MiniModeLayoutTest, TitleTakesThePlayingItemsNameAndSizesItself) {
  model_[R::bo_name].caption = "第1集";
  LayOut();
  EXPECT_EQ(model_[R::ni_name].caption, "第1集");
  EXPECT_EQ(model_[R::ni_bo1].caption, "第1集");
  EXPECT_TRUE(model_[R::ni_bo1].auto_size);
  EXPECT_FALSE(model_[R::ni_bo1].word_wrap);
  EXPECT_EQ(At(R::ni_bo1), (Rect{13, 5, 21, 16}));

  // With no item name the title keeps what it had.
  model_[R::bo_name].caption.clear();
  LayOut();
  EXPECT_EQ(model_[R::ni_bo1].caption, "第1集");
}

TEST_F(MiniModeLayoutTest, LongTitleWrapsBeforeTheExitGlyph) {
  // jbi at 367, so 317 pixels are free: 45 characters fit, 46 do not.
  model_[R::bo_name].caption = std::string(45, 'x');
  LayOut();
  EXPECT_TRUE(model_[R::ni_bo1].auto_size);
  EXPECT_EQ(At(R::ni_bo1).width, 315);

  model_[R::bo_name].caption = std::string(46, 'x');
  LayOut();
  EXPECT_FALSE(model_[R::ni_bo1].auto_size);
  EXPECT_TRUE(model_[R::ni_bo1].word_wrap);
  EXPECT_EQ(At(R::ni_bo1), (Rect{13, 5, 317, 16}));

  // A wider window gives the same title room for one line again.
  model_.width_twips = 9000;
  LayOut();
  EXPECT_TRUE(model_[R::ni_bo1].auto_size);
  EXPECT_FALSE(model_[R::ni_bo1].word_wrap);
  EXPECT_EQ(At(R::ni_bo1).width, 322);
}

TEST_F(MiniModeLayoutTest, ImpossibleTitleWidthIsIgnored) {
  // A glyph wider than the window leaves no room at all; the title keeps
  // its previous width instead of taking a negative one.
  model_[R::jbi].rect.width = 350;
  model_[R::bo_name].caption = "abc";
  model_[R::ni_bo1].rect.width = 55;
  LayOut();
  EXPECT_EQ(At(R::jbi).left, 393 - 350 - 10);
  EXPECT_TRUE(model_[R::ni_bo1].word_wrap);
  EXPECT_EQ(At(R::ni_bo1).width, 55);
}

TEST_F(MiniModeLayoutTest, TvMiniModeFillsTheWindowWithTheTvPage) {
  model_.MiniMode = 2;
  const Rect player_page_before = At(R::zz);
  LayOut();
  EXPECT_EQ(At(R::tv), (Rect{2, 20, 389, 297}));
  EXPECT_EQ(At(R::tvleft), (Rect{0, 0, 389, 297}));
  EXPECT_EQ(At(R::Web10), (Rect{-2, -2, 393, 301}));
  EXPECT_EQ(At(R::zz), player_page_before);
  EXPECT_TRUE(model_[R::ni_bo1].caption.empty());
}

}  // namespace
}  // namespace taviro
