#include "settings/config_file.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/setting_keys.h"
#include "settings/settings_store.h"
#include "support/temp_folder.h"

namespace taviro {
namespace {

constexpr std::string_view kIdentity = "52-54-00-AB-CD-EF";

constexpr std::string_view kCreatedFile =
    "[main]\r\nName=Taviro\r\n"
    "[User]\r\nName=52-54-00-AB-CD-EF\r\n"
    "[Skin]\r\nNum=1\r\n"
    "[Ver]\r\nName=2.3\r\n"
    "[S_q]\r\nts=3\r\nquit=2\r\nqvodk=2\r\ns_size=2\r\nh_w=14850\r\nh_h=9830\r\n"
    "s_h=2\r\ns_bo=2\r\ns_jd=2\r\nqvodqi=2\r\ns_pao=2\r\n";

class ConfigFileTest : public ::testing::Test {
 protected:
  void Run() {
    CreateOrRepairConfig(path_, [this] {
      ++identity_calls_;
      return std::string(kIdentity);
    });
  }
  std::string Bytes() const { return folder_.Read("config.dll"); }

  testing::TempFolder folder_;
  std::filesystem::path path_ = folder_ / std::string(kConfigFileName);
  int identity_calls_ = 0;
};

TEST_F(ConfigFileTest, AMissingFileIsCreatedWithTheFifteenDefaults) {
  Run();
  EXPECT_EQ(Bytes(), kCreatedFile);
  EXPECT_EQ(identity_calls_, 1);
  EXPECT_EQ(folder_.ListNames(), "config.dll");

  // The next start finds nothing to repair.
  Run();
  EXPECT_EQ(Bytes(), kCreatedFile);
  EXPECT_EQ(identity_calls_, 1);
}

TEST_F(ConfigFileTest, OnlyDamagedKeysAreRewrittenAndEverythingElseIsKept) {
  folder_.Write("config.dll",
                "; my settings\r\n"
                "[main]\r\nName=Taviro\r\n"
                "[user]\r\nname=\r\n"
                "[Ver]\r\nName=2.2\r\n"
                "[S_q]\r\n"
                "ts=5\r\n"
                " quit = abc \r\n"
                "qvodk=1\r\n"
                "s_size=2\r\n"
                "h_w=0\r\n"
                "h_h=700\r\n"
                "extra =  keep\t\r\n"
                "s_h=2\r\ns_bo=1\r\ns_jd=2\r\nqvodqi=2\r\n"
                "\r\n"
                "[Later]\r\nx=1");
  Run();
  EXPECT_EQ(Bytes(),
            "; my settings\r\n"
            "[main]\r\nName=Taviro\r\n"
            "[user]\r\nname=52-54-00-AB-CD-EF\r\n"
            "[Ver]\r\nName=2.3\r\n"
            "[S_q]\r\n"
            "ts=3\r\n"
            "quit=2\r\n"
            "qvodk=1\r\n"
            "s_size=2\r\n"
            "h_w=14850\r\n"
            "h_h=700\r\n"
            "extra =  keep\t\r\n"
            "s_h=2\r\ns_bo=1\r\ns_jd=2\r\nqvodqi=2\r\n"
            "s_pao=2\r\n"
            "\r\n"
            "[Later]\r\nx=1");
  EXPECT_EQ(identity_calls_, 1);
  // The skin has no repair rule: absent, it reads as 0 (green).
  EXPECT_EQ(ReadSetting(path_, settings::kSkin, settings::kUnset), "0");
}

TEST_F(ConfigFileTest, AnAskedCloseQuestionAndAValidIdentityAreKept) {
  const std::string valid =
      "[User]\nName=keep-me\n[Ver]\nName=2.3\n[S_q]\nts=2\nquit=1\nqvodk=2\ns_size=1\n"
      "h_w=9000\nh_h=6000\ns_h=1\ns_bo=1\ns_jd=1\nqvodqi=1\ns_pao=1\n";
  folder_.Write("config.dll", valid);
  Run();
  EXPECT_EQ(Bytes(), valid);
  EXPECT_EQ(identity_calls_, 0);
}

TEST_F(ConfigFileTest, AZeroIdentityOrMissingSectionsAreRestored) {
  folder_.Write("config.dll", "[User]\r\nName=0\r\n[S_q]\r\nts=1\r\nquit=-0\r\nqvodk=2x\r\n");
  Run();
  EXPECT_EQ(identity_calls_, 1);
  EXPECT_EQ(Bytes(),
            "[User]\r\nName=52-54-00-AB-CD-EF\r\n"
            "[S_q]\r\nts=1\r\nquit=2\r\nqvodk=2x\r\n"
            "s_size=2\r\nh_w=14850\r\nh_h=9830\r\ns_h=2\r\ns_bo=2\r\ns_jd=2\r\nqvodqi=2\r\ns_pao=2\r\n"
            "[Ver]\r\nName=2.3\r\n");
}

TEST_F(ConfigFileTest, AFileThatCannotBeReadIsNeitherCreatedNorReplaced) {
  std::filesystem::create_directory(path_);
  Run();
  EXPECT_TRUE(std::filesystem::is_directory(path_));
  EXPECT_EQ(folder_.ListNames(), "config.dll");
}

}  // namespace
}  // namespace taviro
