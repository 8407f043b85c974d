#include "window/window_design.h"

#include <gtest/gtest.h>

#include "support/main_window_harness.h"

namespace taviro {
namespace {

using R = RegionId;

int Layer(RegionId id) { return StackingLayer(id); }

// Siblings that overlap must go into their panel in this order, or the
// later one hides the earlier.
TEST(WindowDesignStacking, WhatLiesOnTopGoesInLast) {
  for (int i = 1; i < kRegionCount; ++i) {
    const auto id = static_cast<RegionId>(i);
    EXPECT_GE(Layer(id), 0) << RegionName(id);
    EXPECT_LT(Layer(id), kStackingLayers) << RegionName(id);
    EXPECT_EQ(Layer(id) == 0, HostsAView(id)) << RegionName(id);
  }
  // The play pages' close buttons over the web views they close.
  EXPECT_EQ(ParentOf(R::ggx), ParentOf(R::Web2));
  EXPECT_LT(Layer(R::Web2), Layer(R::ggx));
  EXPECT_EQ(ParentOf(R::gtv), ParentOf(R::Web10));
  EXPECT_LT(Layer(R::Web10), Layer(R::gtv));
  // The seek bar: downloaded part, played part, thumb.
  EXPECT_LT(Layer(R::huan), Layer(R::gunt2));
  EXPECT_LT(Layer(R::gunt2), Layer(R::gunt1));
  // The side tabs sit on the side panel's header strip.
  for (int tab = 0; tab < 16; ++tab) {
    if (tab != 10 && ParentOf(Npc(tab)) == ParentOf(Npc(10))) {
      EXPECT_LT(Layer(Npc(10)), Layer(Npc(tab))) << tab;
    }
  }
  EXPECT_TRUE(HostsAView(R::QvodC) && HostsAView(R::Web1) && HostsAView(R::Web11));
  EXPECT_FALSE(HostsAView(R::Lqvod) || HostsAView(R::Count));
}

TEST(WindowDesignPaint, PanelsPaintTheirColoursAndTheControlBarItsStrip) {
  // The played part and the filled volume share the accent; the seek bar's
  // parts stand apart from its track and from each other.
  EXPECT_EQ(PanelBackground(R::gunt2), PanelBackground(R::bo_y));
  const auto track = PanelBackground(R::gunt);
  for (RegionId part : {R::huan, R::gunt2, R::gunt1}) {
    ASSERT_TRUE(PanelBackground(part).has_value()) << RegionName(part);
    EXPECT_NE(PanelBackground(part), track) << RegionName(part);
  }
  EXPECT_NE(PanelBackground(R::huan), PanelBackground(R::gunt2));
  EXPECT_EQ(PanelBackground(R::P1), 0xFFFFE1U);  // the tooltip's pale yellow, as 0xRRGGBB
  EXPECT_FALSE(PanelBackground(R::bo_foot).has_value());
  EXPECT_FALSE(PanelBackground(R::Window).has_value());

  // The control bar's face is one column of its skin picture, stretched
  // over the whole bar: the painter draws it over the region's own size.
  testing::MainWindowHarness h;
  const RegionState& bar = h.window.model[R::bo_foot];
  EXPECT_TRUE(bar.face.stretched);
  EXPECT_EQ(bar.face.slot, 3);
  EXPECT_EQ(bar.face.width, 1);
  EXPECT_EQ(bar.face.height, bar.rect.height);
}

}  // namespace
}  // namespace taviro
