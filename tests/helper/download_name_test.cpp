#include "helper/download_name.h"

#include <gtest/gtest.h>

#include "helper/helper_protocol.h"

namespace taviro {
namespace {

TEST(DownloadName, QvodLinksAreReadFieldByField) {
  const auto link = ParseQvodLink("qvod://1841245|AB12|%u7B2C1%u96C6.mp4|");
  ASSERT_TRUE(link);
  EXPECT_EQ(link->size, 1841245);
  EXPECT_EQ(link->hash, "AB12");
  EXPECT_EQ(link->name, "第1集.mp4");
  EXPECT_EQ(FormatQvodLink(*link), "qvod://1841245|AB12|%u7B2C1%u96C6.mp4|");
  EXPECT_FALSE(ParseQvodLink("qvod://x|AB|a.mp4|"));
  EXPECT_FALSE(ParseQvodLink("qvod://-1|AB|a.mp4|"));
  EXPECT_FALSE(ParseQvodLink("qvod://1||a.mp4|"));
  EXPECT_FALSE(ParseQvodLink("qvod://1|AB|a.mp4"));
  EXPECT_FALSE(ParseQvodLink("http://1|AB|a.mp4|"));
}

TEST(DownloadName, TheFileNameNeverLeadsOutOfTheSaveFolder) {
  EXPECT_EQ(MediaFileName("http://127.0.0.1:80/qvod/sample-a.mp4"), "sample-a.mp4");
  EXPECT_EQ(MediaFileName("http://h/a/%E7%AC%AC1.mp4?t=1#x"), "第1.mp4");
  EXPECT_EQ(MediaFileName("qvod://9|H|%u7B2C1%u96C6.rmvb|"), "第1集.rmvb");
  const char* refused[] = {
      "qvod://9|H|..|",
      "qvod://9|H|../../etc/passwd|",
      "qvod://9|H|a%2Fb.mp4|",
      "qvod://9|H|.hidden|",
      "http://h/a/..",
      "http://h/a/%2E%2E",
      "http://h/a/b%2F..%2Fc",
      "http://h/dir/",
      "http://h",
      "http://h/a%00b.mp4",
      "file:///etc/passwd",
      "/home/u/v.mp4",
  };
  for (const char* address : refused) EXPECT_EQ(MediaFileName(address), "") << address;
  EXPECT_EQ(MediaFileName("http://h/" + std::string(201, 'a')), "");
  EXPECT_EQ(DownloadFilesOf("v.mp4"), (std::vector<std::string>{"v.mp4", "v.mp4.part", "v.mp4.part.ranges"}));
}

TEST(HelperProtocol, RequestsAndRepliesSurviveTheLineFormat) {
  const HelperRequest play{HelperVerb::kPlay, "qvod://1|H|a b.mp4|", "http://127.0.0.1:9/"};
  const auto line = FormatHelperRequest(play);
  ASSERT_TRUE(line);
  EXPECT_EQ(*line, "play\tqvod://1|H|a b.mp4|\thttp://127.0.0.1:9/\n");
  const auto parsed = ParseHelperRequest(*line);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->verb, HelperVerb::kPlay);
  EXPECT_EQ(parsed->address, play.address);
  EXPECT_EQ(parsed->service_base, play.service_base);
  EXPECT_FALSE(FormatHelperRequest({HelperVerb::kPlay, "http://h/a\nquit", ""}));
  EXPECT_FALSE(ParseHelperRequest("delete\t/etc\n"));
  // The catalogue's title rides along only when known; a reader takes it.
  const HelperRequest titled{HelperVerb::kPrebuffer, "http://h/p/index.m3u8", "http://127.0.0.1:9/",
                             "剧 第2集"};
  const auto titled_line = FormatHelperRequest(titled);
  ASSERT_TRUE(titled_line);
  EXPECT_EQ(*titled_line, "prebuffer\thttp://h/p/index.m3u8\thttp://127.0.0.1:9/\t剧 第2集\n");
  const auto reread = ParseHelperRequest(*titled_line);
  ASSERT_TRUE(reread);
  EXPECT_EQ(reread->title, titled.title);
  EXPECT_EQ(parsed->title, "");
  EXPECT_FALSE(ParseHelperRequest("play\ta\tb\tc\td\n"));
  // Found by fuzzing: a line end inside a field is no request.
  EXPECT_FALSE(ParseHelperRequest(std::string_view("quit\t\t\n\0x", 9)));
  EXPECT_FALSE(ParseHelperRequest("play\ta\rb\t\n"));

  EXPECT_EQ(OkReplyValue(FormatOkReply("http://127.0.0.1:5/item/a")), "http://127.0.0.1:5/item/a");
  EXPECT_EQ(OkReplyValue("ok\thttp://127.0.0.1:5/it"), std::nullopt);  // cut short
  EXPECT_EQ(OkReplyValue("ok\tb\nok\t1\n"), std::nullopt);             // two lines
  EXPECT_EQ(OkReplyValue(FormatErrorReply("refused\n")), std::nullopt);
  const auto status = ParseStatusReply(FormatStatusReply({602, 130}));
  ASSERT_TRUE(status);
  EXPECT_EQ(status->thousandths, 602);
  EXPECT_EQ(status->rate_kb, 130);
  EXPECT_FALSE(ParseStatusReply("ok\t1001\t0\n"));
  EXPECT_FALSE(ParseStatusReply("ok\t5\n"));

  EXPECT_NE(HelperSocketName(1000, "/opt/a/Qvod"), HelperSocketName(1000, "/opt/b/Qvod"));
  EXPECT_NE(HelperSocketName(1000, "/opt/a/Qvod"), HelperSocketName(1001, "/opt/a/Qvod"));
}

}  // namespace
}  // namespace taviro
