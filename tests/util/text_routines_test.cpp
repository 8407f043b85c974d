#include <gtest/gtest.h>

#include "util/extract_between.h"
#include "util/format_seconds.h"
#include "util/path_names.h"
#include "util/truncate_by_width.h"

namespace taviro {
namespace {

TEST(FormatSeconds, PadsMinutesAndSecondsButNotHours) {
  EXPECT_EQ(FormatSeconds(0), "00:00");
  EXPECT_EQ(FormatSeconds(5), "00:05");
  EXPECT_EQ(FormatSeconds(65), "01:05");
  EXPECT_EQ(FormatSeconds(3599), "59:59");
  EXPECT_EQ(FormatSeconds(3600), "1:00:00");
  EXPECT_EQ(FormatSeconds(3725), "1:02:05");
  EXPECT_EQ(FormatSeconds(-7), "00:00");
}

TEST(FileNameOf, TakesThePartAfterTheLastSlash) {
  EXPECT_EQ(FileNameOf("/home/u/Media/电影.mkv"), "电影.mkv");
  EXPECT_EQ(FileNameOf("a/b/c"), "c");
  EXPECT_EQ(FileNameOf("movie.mkv"), "");
  EXPECT_EQ(FileNameOf("/home/u/Media/"), "");
}

TEST(TruncateByWidth, CountsNonAsciiCharactersTwice) {
  const std::string fourteen = "一二三四五六七八九十壹贰叁肆";
  EXPECT_EQ(TruncateByWidth(fourteen, 24), "一二三四五六七八九十壹贰");
  EXPECT_EQ(TruncateByWidth("abc", 2), "ab");
  EXPECT_EQ(TruncateByWidth("ab中文cd", 5), "ab中");  // 中 fits (4), 文 would make 6
  EXPECT_EQ(TruncateByWidth("中a", 1), "");           // stops before the first too-wide one
  EXPECT_EQ(TruncateByWidth("\U0001F600xyz", 2), "\U0001F600");
}

TEST(TruncateByWidth, KeepsTextOfAtMostHalfTheWidthInCharactersWhole) {
  EXPECT_EQ(TruncateByWidth("一二三四五六七八九十壹贰", 24), "一二三四五六七八九十壹贰");
  EXPECT_EQ(TruncateByWidth("一二三四五六七八九十壹贰叁", 24), "一二三四五六七八九十壹贰");
  // 15 / 2 is 7.5, not 7.
  EXPECT_EQ(TruncateByWidth("一二三四五六七", 15), "一二三四五六七");
  EXPECT_EQ(TruncateByWidth("一二三四五六七八", 15), "一二三四五六七");
  EXPECT_EQ(TruncateByWidth("abcdefghij", 9), "abcdefghi");
  EXPECT_EQ(TruncateByWidth("", 0), "");
}

TEST(ExtractBetween, ReturnsTheTextWithOrWithoutItsMarkers) {
  EXPECT_EQ(ExtractBetween("xx[a]yy[/a]zz", "[a]", "[/a]", 1), "[a]yy[/a]");
  EXPECT_EQ(ExtractBetween("xx[a]yy[/a]zz", "[a]", "[/a]", 2), "yy");
  EXPECT_EQ(ExtractBetween("[a][/a]", "[a]", "[/a]", 2), "");
  // The first end marker after the start counts, not one before it.
  EXPECT_EQ(ExtractBetween("[/a]x[a]y[/a]z[/a]", "[a]", "[/a]", 1), "[a]y[/a]");
  EXPECT_EQ(ExtractBetween("[/a]x[a]y[/a]z[/a]", "[a]", "[/a]", 2), "y");
}

TEST(ExtractBetween, CountsPositionsInCharacters) {
  EXPECT_EQ(ExtractBetween("片名：<b>中文</b>。", "<b>", "</b>", 2), "中文");
  EXPECT_EQ(ExtractBetween("片名：<b>中文</b>。", "<b>", "</b>", 1), "<b>中文</b>");
  // The quirk below depends on character positions: "【片】" is 3 long.
  EXPECT_EQ(ExtractBetween("中文abc|", "【片】", "|", 2), "abc");
}

TEST(ExtractBetween, MissingMarkersAndUnknownModesGiveNothing) {
  EXPECT_EQ(ExtractBetween("xx[a]yy", "[a]", "[/a]", 1), std::nullopt);
  EXPECT_EQ(ExtractBetween("xx[a]yy", "[a]", "[/a]", 2), std::nullopt);
  EXPECT_EQ(ExtractBetween("yy[/a]", "[a]", "[/a]", 1), std::nullopt);
  EXPECT_EQ(ExtractBetween("xx[a]yy[/a]", "[a]", "[/a]", 0), std::nullopt);
  EXPECT_EQ(ExtractBetween("xx[a]yy[/a]", "[a]", "[/a]", 3), std::nullopt);
  EXPECT_EQ(ExtractBetween("", "[a]", "[/a]", 2), std::nullopt);
  // The end marker before the start marker only: not found after it.
  EXPECT_EQ(ExtractBetween("[/a][a]yy", "[a]", "[/a]", 2), std::nullopt);
  // A start marker at the very end leaves nowhere to look.
  EXPECT_EQ(ExtractBetween("xx[a]", "[a]", "[/a]", 2), std::nullopt);
}

TEST(ExtractBetween, AMissingStartMarkerInModeTwoStartsAtItsLength) {
  // Without "[a]" the search starts at character 3, and so does the result.
  EXPECT_EQ(ExtractBetween("xxyyy[/a]zz", "[a]", "[/a]", 2), "yyy");
  EXPECT_EQ(ExtractBetween("abc|d", "[a]", "|", 2), "c");
  EXPECT_EQ(ExtractBetween("ab|c|", "[a]", "|", 2), "");    // the end marker just at 3
  EXPECT_EQ(ExtractBetween("a|bc|", "[a]", "|", 2), "bc");  // the one before 3 is skipped
  EXPECT_EQ(ExtractBetween("a|", "[a]", "|", 2), std::nullopt);
}

}  // namespace
}  // namespace taviro
