#include "window/region_id.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace taviro {
namespace {

// Tests and assistive technology find a region by its name, so a name must
// lead to one region only.
TEST(RegionIdTest, EveryRegionHasANameOfItsOwn) {
  std::set<std::string, std::less<>> names;
  for (int i = 0; i < kRegionCount; ++i) {
    const std::string_view name = RegionName(static_cast<RegionId>(i));
    EXPECT_FALSE(name.empty()) << "region " << i;
    EXPECT_TRUE(names.emplace(name).second) << "two regions are called " << name;
  }
  EXPECT_EQ(RegionName(Npc(9)), "npc(9)");
  EXPECT_EQ(RegionName(BoBut(1)), "bo_but(1)");
  EXPECT_EQ(RegionName(Web(3)), "Web3");
}

// The window builds each region inside its container; a cycle would leave
// regions that are never placed.
TEST(RegionIdTest, EveryRegionLiesWithinTheWindow) {
  for (int i = 1; i < kRegionCount; ++i) {
    RegionId id = static_cast<RegionId>(i);
    int steps = 0;
    while (id != RegionId::Window && steps <= kRegionCount) {
      id = ParentOf(id);
      ++steps;
    }
    EXPECT_EQ(id, RegionId::Window) << RegionName(static_cast<RegionId>(i));
  }
  EXPECT_EQ(ParentOf(RegionId::Window), RegionId::Window);
}

}  // namespace
}  // namespace taviro
