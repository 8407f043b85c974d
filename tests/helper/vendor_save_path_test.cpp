#include "helper/vendor_save_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "settings/settings_store.h"
#include "support/temp_folder.h"
#include "util/ansi_text.h"
#include "util/app_folder.h"

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

// Both files name the new folder or neither changes, and the folder's name
// stays one attribute's text whatever it holds.
TEST_F(VendorSavePathTest, WriteChangesBothFilesOrNeitherAndKeepsTheNameText) {
  Ini("/old/");
  Xml("<S Defaultsavepath=\"/old/\"/>");
  const std::string odd = "/a \"b\" c=\"d\" & <e>/";
  ASSERT_TRUE(WriteSavePath(installation, odd));
  EXPECT_EQ(DecodeAnsi(folder.Read("QvodPlayer.xml")),
            "<S Defaultsavepath=\"/a &quot;b&quot; c=&quot;d&quot; &amp; &lt;e&gt;/\"/>\r\n\r\n");
  EXPECT_EQ(ReadXml(), odd);
  EXPECT_TRUE(WriteSavePath(installation, "/again/"));
  EXPECT_EQ(ReadXml(), "/again/");

  const std::string xml_before = folder.Read("QvodPlayer.xml");
  EXPECT_FALSE(WriteSavePath(installation, "/line\nbreak/"));
  EXPECT_FALSE(WriteSavePath(installation, "/cr\rhere/"));
  // An INI file that cannot be replaced keeps the XML file as it was.
  std::filesystem::remove(folder / "QvodCfg.ini");
  std::filesystem::create_directory(folder / "QvodCfg.ini");
  EXPECT_FALSE(WriteSavePath(installation, "/third/"));
  EXPECT_EQ(folder.Read("QvodPlayer.xml"), xml_before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);  // no temporary left
}

// A fresh installation names no folder, so whoever runs it saves into their
// own default; nothing ever makes the helper save into "/" or a relative name.
TEST_F(VendorSavePathTest, TheDownloadFolderIsAlwaysAnAbsoluteFolderOfTheUserWhoRuns) {
  EnsureVendorFiles(installation);
  EXPECT_EQ(folder.Read("QvodCfg.ini"), "[NBQVODTERMINAL]\r\ndefaultsavepath=0\r\n");
  EXPECT_EQ(DownloadFolder(installation), DefaultSavePath());
  Xml("<S Defaultsavepath=\"\"/>");
  EXPECT_EQ(DownloadFolder(installation), DefaultSavePath());
  Ini("films");
  EXPECT_EQ(DownloadFolder(installation), DefaultSavePath());
  Ini("/srv/films");
  EXPECT_EQ(DownloadFolder(installation), "/srv/films/");
}

// The helper finds its files from its own folder by the rule the program
// applies to the folder beside it, so both read and write the same two.
TEST_F(VendorSavePathTest, TheHelperAndTheProgramAgreeWhereTheFilesAre) {
  const std::filesystem::path data_home = folder / "data";
  const auto program_side = [&](const std::filesystem::path& program_folder) {
    return VendorFilesFolder(ResolveAppFolder(program_folder, data_home).folder);
  };

  // Portable: the files lie beside the helper.
  const std::filesystem::path portable = folder / "portable";
  std::filesystem::create_directories(portable / "Qvod");
  const std::string portable_helper = (portable / "Qvod").string() + "/";
  EXPECT_EQ(VendorFilesFolderFor(portable_helper, data_home), portable_helper);
  EXPECT_EQ(program_side(portable), portable_helper);

  // Installed for the system (even where the user could write): the user's
  // data folder, never the installation.
  const std::filesystem::path system = folder / "usr/lib/taviro";
  std::filesystem::create_directories(system / "Qvod");
  const std::string in_data = (data_home / "taviro/Qvod").string() + "/";
  EXPECT_EQ(VendorFilesFolderFor((system / "Qvod").string() + "/", data_home), in_data);
  EXPECT_EQ(program_side(system), in_data);
  EnsureVendorFiles(in_data);
  EXPECT_EQ(ReadSavePath(in_data), DefaultSavePath());
  EXPECT_EQ(ReadXmlSavePath(in_data), DefaultSavePath());
  EXPECT_FALSE(std::filesystem::exists(system / "Qvod/QvodCfg.ini"));

  // Files that are there are kept as they are.
  WriteSavePath(in_data, "/srv/films/");
  EnsureVendorFiles(in_data);
  EXPECT_EQ(ReadSavePath(in_data), "/srv/films/");

  // A data folder others may write is refused by both.
  std::filesystem::permissions(data_home / "taviro", std::filesystem::perms::others_write,
                               std::filesystem::perm_options::add);
  EXPECT_EQ(VendorFilesFolderFor((system / "Qvod").string() + "/", data_home), std::nullopt);
}

TEST(DefaultSavePath, IsMediaInTheHome) {
  const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  EXPECT_EQ(DefaultSavePath(), (home.ends_with('/') ? home.substr(0, home.size() - 1) : home) + "/Media/");
}

}  // namespace
}  // namespace taviro
