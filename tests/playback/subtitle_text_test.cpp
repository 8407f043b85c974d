#include "playback/subtitle_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/ansi_text.h"

namespace taviro {
namespace {

// UTF-16 bytes of `text`, low byte first or high byte first.
std::string Utf16(std::u16string_view text, bool little_endian) {
  std::string bytes;
  for (char16_t unit : text) {
    const auto low = static_cast<char>(unit & 0xFF);
    const auto high = static_cast<char>(unit >> 8);
    bytes += little_endian ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

constexpr std::string_view kCue = "1\r\n00:00:01,000 --> 00:00:02,000\r\n中文字幕测试，你好。\r\n";
constexpr std::u16string_view kCue16 = u"1\r\n00:00:01,000 --> 00:00:02,000\r\n中文字幕测试，你好。\r\n";

TEST(SubtitleText, EveryEncodingOfTheSameCueReadsAsTheSameText) {
  struct Case {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
  };
  const std::vector<Case> cases = {
      {"UTF-8", std::string(kCue), TextEncoding::kUtf8},
      {"UTF-8 with a mark", "\xEF\xBB\xBF" + std::string(kCue), TextEncoding::kUtf8},
      {"UTF-16LE with a mark", "\xFF\xFE" + Utf16(kCue16, true), TextEncoding::kUtf16Le},
      {"UTF-16BE with a mark", "\xFE\xFF" + Utf16(kCue16, false), TextEncoding::kUtf16Be},
      {"UTF-16LE without one", Utf16(kCue16, true), TextEncoding::kUtf16Le},
      {"GBK without a mark", EncodeAnsi(kCue), TextEncoding::kGb18030},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GuessTextEncoding(c.bytes), c.encoding) << c.name;
    EXPECT_EQ(SubtitleTextAsUtf8(c.bytes), kCue) << c.name;
  }
}

TEST(SubtitleText, GbAndBig5AreToldApartByTheirCommonCharacters) {
  // "中文字幕測試" in Big5: every pair is also some GBK character.
  const std::string big5 = "\xA4\xA4\xA4\xE5\xA6\x72\xB9\xF5\xB4\xFA\xB8\xD5";
  EXPECT_EQ(GuessTextEncoding(big5), TextEncoding::kBig5);
  EXPECT_EQ(SubtitleTextAsUtf8(big5), "中文字幕測試");
  // GB18030's four-byte characters cannot be Big5.
  const std::string gb18030 = EncodeAnsi("字幕 \xF0\x9F\x98\x80 测试");
  EXPECT_EQ(GuessTextEncoding(gb18030), TextEncoding::kGb18030);
  EXPECT_EQ(SubtitleTextAsUtf8(gb18030), "字幕 \xF0\x9F\x98\x80 测试");
  // Traditional characters written in GBK stay GBK.
  EXPECT_EQ(SubtitleTextAsUtf8(EncodeAnsi("這是繁體字幕，也是國語。")), "這是繁體字幕，也是國語。");
}

TEST(SubtitleText, SidecarsAreTheVideosNameWithATagAndASubtitleExtension) {
  const std::vector<std::string> names = {"film.mkv",    "film.srt",     "film.eng.srt", "film.chs.ass",
                                          "film.ZH.SRT", "film2.srt",    "film.txt",     "other.srt",
                                          "film..srt",   "film.cht.vtt", "Film.srt"};
  EXPECT_EQ(
      SidecarSubtitles("film.mkv", names),
      (std::vector<std::string>{"film.srt", "film.ZH.SRT", "film.chs.ass", "film.cht.vtt", "film.eng.srt"}));
  EXPECT_TRUE(IsSidecarSubtitle("a.b.mp4", "a.b.ssa"));
  EXPECT_FALSE(IsSidecarSubtitle("a.b.mp4", "a.ssa"));
}

}  // namespace
}  // namespace taviro
