#include "playback/vendor_save_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/ansi_text.h"
#include "app/settings_store.h"
#include "support/temp_folder.h"

namespace taviro {
namespace {

class VendorSavePathTest : public ::testing::Test {
 protected:
  void Ini(std::string_view value) const {
    WriteSetting(folder / "QvodCfg.ini", "NBQVODTERMINAL", "defaultsavepath", value);
  }
  void Xml(std::string_view text) const { folder.Write("QvodPlayer.xml", EncodeAnsi(text)); }
  std::string ReadXml() const { return ReadXmlSavePath(installation); }

  testing::TempFolder folder;
  const std::string installation = folder.path().string() + "/";
};

TEST_F(VendorSavePathTest, TheIniValueWinsUnlessUnsetThenTheXmlThenTheDefault) {
  Ini("/srv/电影/");
  Xml("<?xml version=\"1.0\"?>\n<P>\n  <S Defaultsavepath=\"/home/u/下载/\" n=\"5\"/>\n"
      "  <S Defaultsavepath=\"/second/\"/>\n</P>\n");
  EXPECT_EQ(ReadSavePath(installation), "/srv/电影/");
  for (const char* unset : {"0", ""}) {
    Ini(unset);
    EXPECT_EQ(ReadSavePath(installation), "/home/u/下载/") << unset;
  }
  std::filesystem::remove(folder / "QvodPlayer.xml");
  EXPECT_EQ(ReadSavePath(installation), DefaultSavePath());
  EXPECT_EQ(ReadSavePath(""), DefaultSavePath());
}

TEST_F(VendorSavePathTest, TheXmlAttributeIsCaseSensitiveAndMustBeQuoted) {
  Xml("<S defaultsavepath=\"/lower/\"/>\r\n");
  EXPECT_EQ(ReadXml(), DefaultSavePath());
  // A line with the marker but no quoted value names an empty folder.
  for (const char* line :
       {"<S Defaultsavepath=/x/>", "<S Defaultsavepath=\"/open>", "Defaultsavepath=\"\""}) {
    Xml(line);
    EXPECT_EQ(ReadXml(), "") << line;
  }
}

TEST_F(VendorSavePathTest, WriteRewritesEveryNamedAttributeAndAlwaysTheIni) {
  Xml("<P>\n  <S Defaultsavepath=\"/old/\" n=\"5\"/>\n  <T Defaultsavepath=\"/old/\"/>\n</P>");
  ASSERT_TRUE(WriteSavePath(installation, "/新/"));
  EXPECT_EQ(
      DecodeAnsi(folder.Read("QvodPlayer.xml")),
      "<P>\r\n  <S Defaultsavepath=\"/新/\" n=\"5\"/>\r\n  <T Defaultsavepath=\"/新/\"/>\r\n</P>\r\n\r\n");
  EXPECT_EQ(ReadSavePath(installation), "/新/");

  // An attribute without a folder is left as it is; the INI still changes.
  Xml("<S Defaultsavepath=\"\"/>");
  ASSERT_TRUE(WriteSavePath(installation, "/other/"));
  EXPECT_EQ(folder.Read("QvodPlayer.xml"), "<S Defaultsavepath=\"\"/>");
  EXPECT_EQ(ReadSetting(folder / "QvodCfg.ini", "NBQVODTERMINAL", "defaultsavepath", "0"), "/other/");

  EXPECT_FALSE(WriteSavePath("", "/x/"));
  EXPECT_FALSE(WriteSavePath(installation, ""));
}

TEST(DefaultSavePath, IsMediaInTheHome) {
  const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  EXPECT_EQ(DefaultSavePath(), (home.ends_with('/') ? home.substr(0, home.size() - 1) : home) + "/Media/");
}

}  // namespace
}  // namespace taviro
