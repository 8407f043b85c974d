#include "util/script_escape.h"

#include <gtest/gtest.h>

namespace taviro {
namespace {

TEST(ScriptEscape, KeepsTheSafeSetAndWritesEverythingElseInUpperCaseHex) {
  EXPECT_EQ(ScriptEscape("a b|c"), "a%20b%7Cc");
  EXPECT_EQ(ScriptEscape("AZaz09@*_+-./"), "AZaz09@*_+-./");
  EXPECT_EQ(ScriptEscape("%~'\"\\:?&=#\x7F"), "%25%7E%27%22%5C%3A%3F%26%3D%23%7F");
  EXPECT_EQ(ScriptEscape(std::string_view("\0\n", 2)), "%00%0A");
  EXPECT_EQ(ScriptEscape(""), "");
}

TEST(ScriptEscape, UsesTwoDigitsBelow256AndFourAbove) {
  EXPECT_EQ(ScriptEscape("é"), "%E9");          // U+00E9
  EXPECT_EQ(ScriptEscape("\u0100"), "%u0100");  // first unit past the two-digit range
  EXPECT_EQ(ScriptEscape("中文"), "%u4E2D%u6587");
  EXPECT_EQ(ScriptEscape("\uFFFD"), "%uFFFD");
}

TEST(ScriptEscape, WritesACharacterOutsideTheBmpAsItsSurrogatePair) {
  EXPECT_EQ(ScriptEscape("\U0001F600"), "%uD83D%uDE00");
  EXPECT_EQ(ScriptEscape("a\U0002A6A5b"), "a%uD869%uDEA5b");
}

TEST(ScriptUnescape, DecodesBothFormsInAnyCase) {
  EXPECT_EQ(ScriptUnescape("%u4E2D%u6587"), "中文");
  EXPECT_EQ(ScriptUnescape("%u4e2d%u6587"), "中文");
  EXPECT_EQ(ScriptUnescape("a%20b%7cc%7C"), "a b|c|");
  EXPECT_EQ(ScriptUnescape("%E9"), "é");  // a two-digit form is a code unit, not a byte
  EXPECT_EQ(ScriptUnescape("%u0041%41"), "AA");
  EXPECT_EQ(ScriptUnescape("+"), "+");  // not a form-encoded blank
}

TEST(ScriptUnescape, LeavesPercentSignsThatBeginNoFormAsTheyAre) {
  EXPECT_EQ(ScriptUnescape("100%"), "100%");
  EXPECT_EQ(ScriptUnescape("%u12"), "%u12");
  EXPECT_EQ(ScriptUnescape("%G1"), "%G1");
  EXPECT_EQ(ScriptUnescape("%4"), "%4");
  EXPECT_EQ(ScriptUnescape("%U0041"), "%U0041");  // only a small u starts the long form
  EXPECT_EQ(ScriptUnescape("%%41"), "%A");
  EXPECT_EQ(ScriptUnescape("%u00zz%41"), "%u00zzA");
  EXPECT_EQ(ScriptUnescape("%2541"), "%41");  // decoded once, not again
}

TEST(ScriptUnescape, PairsSurrogatesAndReplacesUnpairedOnes) {
  EXPECT_EQ(ScriptUnescape("%uD83D%uDE00"), "\U0001F600");
  EXPECT_EQ(ScriptUnescape("%uD800"), "\uFFFD");
  EXPECT_EQ(ScriptUnescape("%uDE00x"), "\uFFFDx");
  EXPECT_EQ(ScriptUnescape("%uD83Dx%uDE00"), "\uFFFDx\uFFFD");
  EXPECT_EQ(ScriptUnescape("%uD83D%uD83D%uDE00"), "\uFFFD\U0001F600");
  // A pending high half is not joined with a literal character after it.
  EXPECT_EQ(ScriptUnescape("%uD83D\U0001F600"), "\uFFFD\U0001F600");
}

TEST(ScriptUnescape, PassesLiteralTextThrough) {
  EXPECT_EQ(ScriptUnescape("中文 title"), "中文 title");
  EXPECT_EQ(ScriptUnescape("\U0001F600%20"), "\U0001F600 ");
  EXPECT_EQ(ScriptUnescape("a\xFF"
                           "b"),
            "a\uFFFD"
            "b");  // damaged UTF-8
}

TEST(ScriptEscapeRoundTrip, RestoresChineseAndNonBmpText) {
  for (const char* text : {"中文 第01集 (高清)", "\U0001F600\U0002A6A5", "a+b/c@d.e*f_g-h",
                           "mixed 中 \U0001F600 % 100%", "\u00FF\u0100"}) {
    EXPECT_EQ(ScriptUnescape(ScriptEscape(text)), text);
  }
}

}  // namespace
}  // namespace taviro
