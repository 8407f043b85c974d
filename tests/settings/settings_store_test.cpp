#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

namespace taviro {
namespace {

using namespace std::string_literals;

class SettingsStoreTest : public ::testing::Test {
 protected:
  std::string Read(std::string_view section, std::string_view key) const {
    return ReadSetting(file_, section, key, "dflt");
  }
  bool Write(std::string_view section, std::string_view key, std::string_view value) const {
    return WriteSetting(file_, section, key, value);
  }
  void Given(std::string_view bytes) const { folder_.Write("config.dll", bytes); }
  std::string Bytes() const { return folder_.Read("config.dll"); }

  testing::TempFolder folder_;
  std::filesystem::path file_ = folder_ / "config.dll";
};

TEST_F(SettingsStoreTest, MissingFileSectionOrKeyGivesTheDefaultButAnEmptyValueDoesNot) {
  EXPECT_EQ(Read("S_q", "quit"), "dflt");
  Given("[S_q]\r\nquit=\r\nspaced=   \r\nbare\r\n[Other]\r\nx=1\r\n");
  EXPECT_EQ(Read("S_q", "quit"), "");
  EXPECT_EQ(Read("S_q", "spaced"), "");
  EXPECT_EQ(Read("S_q", "bare"), "dflt");  // a line without '=' holds no key
  EXPECT_EQ(Read("S_q", "x"), "dflt");     // keys of other sections do not count
  EXPECT_EQ(Read("Missing", "quit"), "dflt");
  EXPECT_EQ(Read("", "quit"), "dflt");
  EXPECT_EQ(Read("S_q", ""), "dflt");
  EXPECT_EQ(ReadSetting(file_, "S_q", "absent", ""), "");
  EXPECT_EQ(ReadSetting(folder_.path(), "S_q", "quit", "0"), "0");  // a folder is no file
}

TEST_F(SettingsStoreTest, NamesMatchWithoutRegardToCase) {
  ASSERT_TRUE(Write("User", "Name", "abc"));
  EXPECT_EQ(Read("user", "name"), "abc");
  EXPECT_EQ(Read("USER", "NAME"), "abc");
  ASSERT_TRUE(Write("user", "NAME", "def"));
  EXPECT_EQ(Bytes(), "[User]\r\nName=def\r\n");
}

TEST_F(SettingsStoreTest, CaseFoldingNeverTouchesHalvesOfChineseCharacters) {
  // 癆 and 癮 differ only in a second byte that looks like 'A' and 'a'; 乚
  // ends in a byte that looks like ']'.
  Given("[\xB0\x41]\r\nk=upper\r\n[\xB0\x61]\r\nk=lower\r\n[\x81\x5D\xB5\xE7]\r\n\xB0\x41=v\r\n");
  EXPECT_EQ(Read("癆", "k"), "upper");
  EXPECT_EQ(Read("癮", "k"), "lower");
  EXPECT_EQ(Read("乚电", "癆"), "v");
  EXPECT_EQ(Read("乚电", "癮"), "dflt");
}

TEST_F(SettingsStoreTest, BlanksQuotesAndCommentsAreReadAsWindowsDoes) {
  Given(
      "  [ S_q ]  \r\n"
      ";quit=9\r\n"
      "  ; h_w=9\r\n"
      "\t quit \t=\t 1 \t\r\n"
      "a=\"quoted\"\r\n"
      "b='single'\r\n"
      "c=\"mixed'\r\n"
      "d=\" padded \"\r\n"
      "e=\"\r\n"
      "f=x=y\r\n");
  EXPECT_EQ(Read("S_q", "quit"), "1");
  EXPECT_EQ(Read("S_q", "h_w"), "dflt");
  EXPECT_EQ(Read("S_q", ";quit"), "dflt");
  EXPECT_EQ(Read("S_q", "a"), "quoted");
  EXPECT_EQ(Read("S_q", "b"), "single");
  EXPECT_EQ(Read("S_q", "c"), "\"mixed'");
  EXPECT_EQ(Read("S_q", "d"), " padded ");
  EXPECT_EQ(Read("S_q", "e"), "\"");
  EXPECT_EQ(Read("S_q", "f"), "x=y");
  EXPECT_EQ(Read(" S_q\t", " quit "), "1");
}

TEST_F(SettingsStoreTest, TheFirstOfDuplicateSectionsAndKeysWins) {
  Given("k=outside\r\n[A]\r\nk=1\r\nK=2\r\n[B]\r\nk=3\r\n[a]\r\nk=4\r\nonly_later=5\r\n");
  EXPECT_EQ(Read("A", "k"), "1");
  EXPECT_EQ(Read("a", "only_later"), "dflt");
  ASSERT_TRUE(Write("a", "K", "x"));
  ASSERT_TRUE(Write("A", "only_later", "y"));
  EXPECT_EQ(Bytes(),
            "k=outside\r\n[A]\r\nk=x\r\nK=2\r\nonly_later=y\r\n[B]\r\nk=3\r\n[a]\r\nk=4\r\nonly_later=5\r\n");
}

TEST_F(SettingsStoreTest, ReadsLfOnlyFilesAndFilesWithoutAFinalLineEnd) {
  Given("[S_q]\nquit=1\nqvodk=2");
  EXPECT_EQ(Read("S_q", "quit"), "1");
  EXPECT_EQ(Read("S_q", "qvodk"), "2");
}

TEST_F(SettingsStoreTest, LongValuesAreCutAt254BytesAndNeverInsideACharacter) {
  Given("[S_q]\r\nlong=" + std::string(300, 'x') + "\r\n");
  EXPECT_EQ(Read("S_q", "long"), std::string(254, 'x'));

  // 253 ASCII bytes and then 电 (two bytes): only the whole character may go.
  Given("[S_q]\r\nlong=" + std::string(253, 'x') + "\xB5\xE7tail\r\n");
  EXPECT_EQ(Read("S_q", "long"), std::string(253, 'x'));
  Given("[S_q]\r\nlong=" + std::string(252, 'x') + "\xB5\xE7tail\r\n");
  EXPECT_EQ(Read("S_q", "long"), std::string(252, 'x') + "电");
  // A four-byte character straddling the limit.
  Given("[S_q]\r\nlong=" + std::string(252, 'x') + "\x95\x32\x82\x36\r\n");
  EXPECT_EQ(Read("S_q", "long"), std::string(252, 'x'));
}

TEST_F(SettingsStoreTest, AValueIsCutAtItsFirstNul) {
  Given("[S_q]\r\nqvodw=/media/a\0junk\r\n"s);
  EXPECT_EQ(Read("S_q", "qvodw"), "/media/a");
  EXPECT_EQ(TrimAtNul(std::string_view("ab\0cd", 5)), "ab");
  EXPECT_EQ(TrimAtNul("abc"), "abc");
  EXPECT_EQ(TrimAtNul(std::string_view("\0", 1)), "");
}

TEST_F(SettingsStoreTest, TheFirstWriteCreatesTheFileAndNewSectionsGoAtTheEnd) {
  ASSERT_TRUE(Write("main", "Name", "Taviro"));
  ASSERT_TRUE(Write("S_q", "ts", "3"));
  ASSERT_TRUE(Write("S_q", "quit", "2"));
  EXPECT_EQ(Bytes(), "[main]\r\nName=Taviro\r\n[S_q]\r\nts=3\r\nquit=2\r\n");
  EXPECT_EQ(folder_.ListNames(), "config.dll");
}

TEST_F(SettingsStoreTest, ChangingAKeyRewritesOnlyItsLine) {
  const std::string before_key =
      "; settings\r\n"
      "[main]\r\n"
      "Name = Taviro \r\n"
      "\r\n"
      "[S_q]\r\n"
      "unknown=keep me\r\n"
      "  ; comment=1\r\n";
  const std::string after_key = "\r\n\tstray line\r\nlast=1";
  Given(before_key + "   QUIT  =  1  " + "\r\n" + after_key);
  ASSERT_TRUE(Write("s_q", "quit", "2"));
  EXPECT_EQ(Bytes(), before_key + "QUIT=2\r\n" + after_key);
}

TEST_F(SettingsStoreTest, LfOnlyLinesAndAMissingFinalLineEndSurviveAWrite) {
  Given("[S_q]\nquit=1\nts=3");
  ASSERT_TRUE(Write("S_q", "quit", "2"));
  EXPECT_EQ(Bytes(), "[S_q]\nquit=2\nts=3");
  ASSERT_TRUE(Write("S_q", "ts", "1"));
  EXPECT_EQ(Bytes(), "[S_q]\nquit=2\nts=1");
  ASSERT_TRUE(Write("S_q", "s_bo", "2"));
  EXPECT_EQ(Bytes(), "[S_q]\nquit=2\nts=1\r\ns_bo=2\r\n");
  Given("[S_q]\nquit=1");
  ASSERT_TRUE(Write("Skin", "Num", "0"));
  EXPECT_EQ(Bytes(), "[S_q]\nquit=1\r\n[Skin]\r\nNum=0\r\n");
}

TEST_F(SettingsStoreTest, ANewKeyGoesAfterTheLastNonBlankLineOfItsSection) {
  Given("[Empty]\r\n\r\n[S_q]\r\nquit=1\r\n; note\r\n\r\n  \r\n[Skin]\r\nNum=1\r\n");
  ASSERT_TRUE(Write("S_q", "ts", "3"));
  ASSERT_TRUE(Write("Empty", "k", "v"));
  EXPECT_EQ(Bytes(),
            "[Empty]\r\nk=v\r\n\r\n[S_q]\r\nquit=1\r\n; note\r\nts=3\r\n\r\n  \r\n[Skin]\r\nNum=1\r\n");
}

TEST_F(SettingsStoreTest, WritingTheValueAlreadyThereChangesNothing) {
  Given("[S_q]\r\n  quit = 2 \r\n");
  ASSERT_TRUE(Write("S_q", "quit", "2"));
  EXPECT_EQ(Bytes(), "[S_q]\r\n  quit = 2 \r\n");
}

TEST_F(SettingsStoreTest, ChineseTextIsStoredAsGb18030) {
  ASSERT_TRUE(Write("S_q", "qvodw", "/home/用户/电影下载/"));
  EXPECT_EQ(Bytes(), "[S_q]\r\nqvodw=/home/\xD3\xC3\xBB\xA7/\xB5\xE7\xD3\xB0\xCF\xC2\xD4\xD8/\r\n");
  EXPECT_EQ(Read("s_q", "QVODW"), "/home/用户/电影下载/");
  ASSERT_TRUE(Write("视频", "名", "中"));
  EXPECT_EQ(Read("视频", "名"), "中");
}

TEST_F(SettingsStoreTest, WritesThatWouldBreakTheLineStructureAreRefused) {
  const std::string original = "[S_q]\r\nquit=1\r\n";
  Given(original);
  EXPECT_FALSE(Write("S_q", "quit", "2\r\n[Evil]"));
  EXPECT_FALSE(Write("S_q", "quit", "2\n"));
  EXPECT_FALSE(Write("S_q", "quit", "2\rx"));
  EXPECT_FALSE(Write("S_q\r\nx", "quit", "2"));
  EXPECT_FALSE(Write("S_q]x", "quit", "2"));
  EXPECT_FALSE(Write("S_q", "qu\nit", "2"));
  EXPECT_FALSE(Write("S_q", "a=b", "2"));
  EXPECT_FALSE(Write("S_q", " ;quit", "2"));
  EXPECT_FALSE(Write("S_q", "[quit", "2"));
  EXPECT_FALSE(Write("", "quit", "2"));
  EXPECT_FALSE(Write("S_q", "  ", "2"));
  EXPECT_EQ(Bytes(), original);
  EXPECT_TRUE(Write("S_q", "quit", "a=b;[c]"));  // such text is harmless in a value
  EXPECT_EQ(Read("S_q", "quit"), "a=b;[c]");
}

TEST_F(SettingsStoreTest, AFileThatCannotBeReadOrReplacedIsLeftAlone) {
  // Something that is there but cannot be read as a file must not be
  // replaced by a new file holding a single key.
  std::filesystem::create_directory(folder_ / "elsewhere");
  std::filesystem::create_directory_symlink("elsewhere", file_);
  EXPECT_FALSE(Write("S_q", "quit", "2"));
  EXPECT_TRUE(std::filesystem::is_symlink(file_));
  std::filesystem::remove(file_);
  std::filesystem::create_symlink("config.dll", file_);  // a loop
  EXPECT_FALSE(Write("S_q", "quit", "2"));
  EXPECT_TRUE(std::filesystem::is_symlink(file_));
  std::filesystem::remove(file_);
  std::filesystem::remove(folder_ / "elsewhere");

  std::filesystem::create_directory(file_);
  EXPECT_FALSE(Write("S_q", "quit", "2"));
  EXPECT_TRUE(std::filesystem::is_directory(file_));
  EXPECT_FALSE(WriteSetting(folder_ / "missing" / "config.dll", "S_q", "quit", "2"));
  EXPECT_EQ(folder_.ListNames(), "config.dll");
}

}  // namespace
}  // namespace taviro
