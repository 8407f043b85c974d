#include "window/saved_window_size.h"

#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "support/temp_folder.h"

namespace taviro {
namespace {

TEST(EdgeResizeEnded, NormalWindowKeepsItsSizeMiniWindowDoesNot) {
  testing::TempFolder folder;
  const std::filesystem::path settings = folder / "config.dll";
  WindowModel model;
  model.width_twips = 15015;
  model.height_twips = 8010;
  EXPECT_TRUE(EdgeResizeEnded(model, settings));
  EXPECT_EQ(ReadSetting(settings, "S_q", "h_w", "0"), "15015");
  EXPECT_EQ(ReadSetting(settings, "S_q", "h_h", "0"), "8010");

  model.mini_mode = MiniMode::kPlayer;
  model.width_twips = 5900;
  model.height_twips = 4800;
  EXPECT_FALSE(EdgeResizeEnded(model, settings));
  model.mini_mode = MiniMode::kTv;
  EXPECT_FALSE(EdgeResizeEnded(model, settings));
  EXPECT_EQ(ReadSetting(settings, "S_q", "h_w", "0"), "15015");
  EXPECT_EQ(ReadSetting(settings, "S_q", "h_h", "0"), "8010");
}

}  // namespace
}  // namespace taviro
