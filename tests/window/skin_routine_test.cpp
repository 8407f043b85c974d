#include "window/skin_routine.h"

#include <gtest/gtest.h>

#include "support/main_window_harness.h"
#include "window/tab_faces.h"

namespace taviro {
namespace {

using testing::MainWindowHarness;
using R = RegionId;

class SkinRoutine : public ::testing::Test {
 protected:
  void SetUp() override {
    m.laid_out = false;  // as when the window starts loading
    h.pictures.missing = {120, 220, 221};
    h.pictures.slots[19] = 7;  // the picture the window was designed with
  }
  MainWindowHarness h;
  MainWindow& w = h.window;
  WindowModel& m = h.window.model;
};

TEST_F(SkinRoutine, LoadsTwentyOneNumberedPicturesAndMissingOnesKeepTheOldPicture) {
  ApplySkin(w, 0);
  ASSERT_EQ(h.pictures.requests.size(), 21U);
  for (int k = 0; k < 21; ++k) {
    EXPECT_EQ(h.pictures.requests[static_cast<std::size_t>(k)], std::make_pair(k, 101 + k));
  }
  ApplySkin(w, 1);
  EXPECT_EQ(h.pictures.requests.back(), std::make_pair(20, 221));
  EXPECT_EQ(h.pictures.slots[0], 201);
  EXPECT_EQ(h.pictures.slots[19], 7);
  EXPECT_EQ(h.pictures.slots[20], 121);  // skin 1 has no picture 20 of its own
}

TEST_F(SkinRoutine, TheFirstCallLaysOutWithoutStoringLaterCallsRepaintAndStore) {
  ApplySkin(w, 1);
  EXPECT_TRUE(m.laid_out);
  EXPECT_EQ(h.Setting("Skin", "Num"), "<missing>");

  // Only later calls paint the frame: grow the model behind the layout's
  // back and watch the control bar follow.
  const Rect bar_before = m[R::bo_foot].rect;
  m.height_twips += 1500;
  m.laid_out = false;
  ApplySkin(w, 1);
  EXPECT_EQ(m[R::bo_foot].rect, bar_before);
  ApplySkin(w, 0);
  EXPECT_EQ(m[R::bo_foot].rect.top, bar_before.top + 100);
  EXPECT_EQ(h.Setting("Skin", "Num"), "0");
  ApplySkin(w, 1);
  EXPECT_EQ(h.Setting("Skin", "Num"), "1");
}

TEST_F(SkinRoutine, SwitchesTheLogoAndRepaintsTheSelectedTabsWithoutHidingThem) {
  m.main_tab = MainTab::kPlayer;
  m.side_tab = SideTab::kLocalFiles;
  m[Npc(9)].face = m[Npc(7)].face = Tile{};
  ApplySkin(w, 0);
  EXPECT_EQ(m[R::Imi].face.slot, kLogoA1Slot);
  EXPECT_EQ(m[Npc(9)].face, MainTabFace(9, true));
  EXPECT_EQ(m[Npc(7)].face, SideTabFace(7, true));
  EXPECT_TRUE(m[R::zz].visible && m[R::Pic4].visible);
  ApplySkin(w, 1);
  EXPECT_EQ(m[R::Imi].face.slot, kLogoA2Slot);
}

TEST(StartupSkinIndex, MapsTheStoredNumberToOneOfTheTwoSkins) {
  for (int zero : {0, -1}) EXPECT_EQ(StartupSkinIndex(zero), 0) << zero;
  for (int one : {1, 2, 5}) EXPECT_EQ(StartupSkinIndex(one), 1) << one;
}

}  // namespace
}  // namespace taviro
