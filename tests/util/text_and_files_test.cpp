#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "support/temp_folder.h"
#include "util/ansi_text.h"
#include "util/file_io.h"
#include "util/utf8.h"

namespace taviro {
namespace {

TEST(AnsiText, RoundTripsChineseAndCharactersOutsideGbk) {
  // 中文 in GBK, then a character outside the Basic Multilingual Plane.
  EXPECT_EQ(EncodeAnsi("中文"), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(DecodeAnsi("\xD6\xD0\xCE\xC4"), "中文");
  const std::string rare = "a\U0002A6A5b";
  EXPECT_EQ(EncodeAnsi(rare).size(), 6U);
  EXPECT_EQ(DecodeAnsi(EncodeAnsi(rare)), rare);
}

TEST(AnsiText, DamagedInputBecomesReplacementCharacters) {
  EXPECT_EQ(DecodeAnsi("a\xFF"
                       "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(DecodeAnsi("x\xD6"), "x\xEF\xBF\xBD");  // cut in the middle of a pair
  EXPECT_EQ(DecodeAnsi(EncodeAnsi("a\xC3(b")), "a\xEF\xBF\xBD(b");
}

TEST(Utf16, UnpairedSurrogatesBecomeReplacementCharacter) {
  EXPECT_EQ(Utf16ToUtf8(u"a\xD800"
                        "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(Utf16ToUtf8(u"\xDC00"), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("\U0001F600中")), "\U0001F600中");
}

TEST(Utf8, ValidityCheckAcceptsTheReplacementCharacterItself) {
  EXPECT_TRUE(IsValidUtf8("a中\U0001F600\xEF\xBF\xBD"));
  EXPECT_FALSE(IsValidUtf8("a\xC3("));
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));      // cut short
}

TEST(SplitLines, CountsLinesAsALineReaderDoes) {
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_EQ(SplitLines("\r\n"), (std::vector<std::string_view>{""}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (std::vector<std::string_view>{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\nb\r\n"), (std::vector<std::string_view>{"a", "b"}));
}

TEST(WriteFileAtomically, ReplacesTheFileAndLeavesNoTemporary) {
  testing::TempFolder folder;
  folder.Write("list.dat", "old\r\n");
  ASSERT_TRUE(WriteFileAtomically(folder / "list.dat", "new\r\n"));
  EXPECT_EQ(folder.Read("list.dat"), "new\r\n");
  EXPECT_EQ(folder.ListNames(), "list.dat");
  EXPECT_EQ(ReadFileBytes(folder / "missing"), std::nullopt);
}

TEST(WriteFileAtomically, AFullDiskKeepsTheOldFileWhole) {
  testing::TempFolder folder;
  folder.Write("list.dat", "old contents\r\n");
  // A file-size limit makes writes fail as a full disk would.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit tight = saved;
  tight.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
  const bool written = WriteFileAtomically(folder / "list.dat", std::string(8192, 'x'));
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
  std::signal(SIGXFSZ, SIG_DFL);

  EXPECT_FALSE(written);
  EXPECT_EQ(folder.Read("list.dat"), "old contents\r\n");
  EXPECT_EQ(folder.ListNames(), "list.dat");
}

TEST(WriteFileAtomically, FailsWithoutTouchingAnythingWhenTheFolderIsMissing) {
  testing::TempFolder folder;
  EXPECT_FALSE(WriteFileAtomically(folder / "nowhere" / "list.dat", "x"));
  EXPECT_EQ(folder.ListNames(), "");
}

}  // namespace
}  // namespace taviro
