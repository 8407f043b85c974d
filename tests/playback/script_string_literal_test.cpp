#include "playback/script_string_literal.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>

#include "playback/episode_list_page.h"
#include "util/utf8.h"

namespace taviro {
namespace {

std::optional<std::string> Data(const std::string& script) {
  return EpisodeDataOf("<script>" + script + "</script>");
}

TEST(EpisodeData, OneStringLiteralIsTakenAndWrittenBackSafeForAScriptElement) {
  EXPECT_EQ(Data("var VideoInfoList=\"第一$$第1集$http://h/a.mp4$qvod\";"),
            "\"第一$$第1集$http://h/a.mp4$qvod\"");
  EXPECT_EQ(Data("var VideoInfoList= 'it\\'s \"q\" \\\\ \\x41\\u4E2D\\u{1F600}\\n\\\r\nx' ;\nvar b=1;"),
            "\"it's \\\"q\\\" \\\\ A中😀\\u000ax\"");
  // Markup inside the literal stays text.
  EXPECT_EQ(Data("var VideoInfoList='</script><img src=x onerror=y>&<!--';"),
            "\"\\u003c/script\\u003e\\u003cimg src=x onerror=y\\u003e\\u0026\\u003c!--\"");
  EXPECT_EQ(Data("var VideoInfoList='\\uD800\\u2028';"), "\"\\ud800\\u2028\"");
  EXPECT_EQ(Data("var x=1;"), std::nullopt);
}

TEST(EpisodeData, AnythingButOneLiteralAndItsSemicolonIsRefused) {
  for (const std::string& script : std::initializer_list<std::string>{
           "var VideoInfoList='x'</script><img src=file:///etc/hostname onload=alert(1)>;",
           "var VideoInfoList='x'+alert(1);", "var VideoInfoList=alert(1);", "var VideoInfoList='x'",
           "var VideoInfoList='x", "var VideoInfoList='a\nb';", "var VideoInfoList='\\1';",
           "var VideoInfoList='\\u12';", "var VideoInfoList='\\u{110000}';", "var VideoInfoList=;"}) {
    EXPECT_EQ(Data(script), std::nullopt) << script;
  }
}

TEST(ScriptStringLiteral, WhatIsWrittenReadsBackTheSame) {
  const std::u16string value = u"a\"b\\c<d>\n\u2028\xD800z\U0001F600";
  const std::string written = ScriptSafeJsonLiteral(value);
  EXPECT_EQ(written.find('<'), std::string::npos);
  std::size_t length = 0;
  const std::u32string points = DecodeUtf8(written);
  EXPECT_EQ(ReadScriptStringLiteral(points, length), value);
  EXPECT_EQ(length, points.size());
}

}  // namespace
}  // namespace taviro
