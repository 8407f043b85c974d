#include "settings/settings.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace taviro {
namespace {

// The switches disagree on what a value other than "1" or "2" means: some
// were always read as numbers, some as texts, and the typed fields keep that.
TEST(Settings, EachSettingKeepsTheRuleItWasAlwaysReadBy) {
  testing::TempFolder folder;
  const Settings fresh = Settings::Load(folder / "config.dll");  // no file: every key reads "0"
  EXPECT_TRUE(fresh.close_to_tray && fresh.stop_vendor_player_at_start);
  EXPECT_FALSE(fresh.close_question_pending || fresh.play_next_episode || fresh.tray_balloons);
  EXPECT_TRUE(fresh.vendor_folder.empty());
  EXPECT_EQ(fresh.user_id, "0");

  folder.Write("config.dll",
               "[Skin]\r\nNum=2x\r\n[S_q]\r\nts=3\r\nquit=01\r\nqvodqi=01\r\ns_bo=02\r\ns_h=02\r\n"
               "s_size=2\r\nh_w=15000\r\nh_h=abc\r\nqvodw=/opt/q/\r\n");
  const Settings odd = Settings::Load(folder / "config.dll");
  EXPECT_EQ(odd.skin, 2);
  EXPECT_TRUE(odd.close_question_pending);
  EXPECT_FALSE(odd.close_to_tray);               // read as a number: 1
  EXPECT_TRUE(odd.stop_vendor_player_at_start);  // read as a text: not "1"
  EXPECT_FALSE(odd.play_next_episode);           // read as a text: not "2"
  EXPECT_TRUE(odd.buffer_next_episode && odd.remember_size);
  EXPECT_EQ(odd.saved_width_twips, 15000);
  EXPECT_EQ(odd.saved_height_twips, 0);
  EXPECT_EQ(odd.vendor_folder, "/opt/q/");

  EXPECT_TRUE(SaveCloseQuestionAsked(folder / "config.dll"));
  EXPECT_TRUE(SaveCloseToTray(folder / "config.dll", true));
  EXPECT_TRUE(SaveWindowSize(folder / "config.dll", 9000, 8000));
  EXPECT_EQ(folder.Read("config.dll"),
            "[Skin]\r\nNum=2x\r\n[S_q]\r\nts=1\r\nquit=2\r\nqvodqi=01\r\ns_bo=02\r\ns_h=02\r\n"
            "s_size=2\r\nh_w=9000\r\nh_h=8000\r\nqvodw=/opt/q/\r\n");
}

}  // namespace
}  // namespace taviro
