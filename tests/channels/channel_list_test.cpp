#include "channels/channel_list.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "util/ansi_text.h"

namespace taviro::channels {
namespace {

struct Row {
  const char* what;
  std::string list;
  // Expected of the first channel; the list must hold exactly `count` channels.
  std::size_t count;
  const char* name;
  const char* group;
  const char* url;
};

TEST(ParseChannelList, ReadsTheListsPeopleHave) {
  const Row rows[] = {
      {"attributes quoted, a comma inside a value",
       "#EXTM3U\n#EXTINF:-1 tvg-id=\"cctv1.cn\" tvg-name=\"CCTV1\" tvg-logo=\"http://l/1.png\" "
       "group-title=\"News, World\",CCTV-1 综合\nhttp://s/1.m3u8\n",
       1, "CCTV-1 综合", "News, World", "http://s/1.m3u8"},
      {"bare attributes, odd spacing, BOM and CR LF",
       "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:0   group-title=Sport   tvg-id=x ,  Sport 1 \r\n\r\n  HTTPS://s/2.ts  "
       "\r\n",
       1, "Sport 1", "Sport", "HTTPS://s/2.ts"},
      {"no name: tvg-name", "#EXTINF:-1 tvg-name='Radio One' radio=true\nhttp://r/1\n", 1, "Radio One", "",
       "http://r/1"},
      {"no name, no tvg-name: the address", "#EXTINF:-1,\nhttp://s/3\n", 1, "http://s/3", "", "http://s/3"},
      {"no EXTINF at all", "http://s/4\n", 1, "http://s/4", "", "http://s/4"},
      {"#EXTGRP for the next entry only", "#EXTGRP:Kids\n#EXTINF:-1,A\nhttp://a\n#EXTINF:-1,B\nhttp://b\n", 2,
       "A", "Kids", "http://a"},
      {"group-title beats #EXTGRP", "#EXTINF:-1 group-title=\"G1\",A\n#EXTGRP:G2\nhttp://a\n", 1, "A", "G1",
       "http://a"},
      {"refused schemes are skipped with what they said",
       "#EXTINF:-1,Local\nfile:///etc/passwd\n#EXTINF:-1,R\nrtmp://x/y\n#EXTINF:-1,Multicast\nudp://"
       "@239.0.0.1:1234\n"
       "#EXTINF:-1,J\njavascript:alert(1)\n#EXTINF:-1,Sp\nhttp://a b\n#EXTINF:-1,Ok\nhttp://ok\n",
       1, "Ok", "", "http://ok"},
      {"an unclosed quote takes the rest of the line", "#EXTINF:-1 tvg-name=\"A,B\nhttp://a\n", 1, "A,B", "",
       "http://a"},
      {"relative to a list from the web", "#EXTINF:-1,Rel\nlive/1.m3u8\n", 1, "Rel", "",
       "http://lists/live/1.m3u8"},
      {"Kodi's options after |", "#EXTINF:-1,K\nhttp://k/1.m3u8|User-Agent=Box/1.0&Referer=http://ref/\n", 1,
       "K", "", "http://k/1.m3u8"},
  };
  for (const Row& row : rows) {
    const ChannelList list = ParseChannelList(row.list, "http://lists/a.m3u");
    ASSERT_EQ(list.channels.size(), row.count) << row.what;
    const Channel& first = list.channels.front();
    EXPECT_EQ(first.name, row.name) << row.what;
    EXPECT_EQ(first.group, row.group) << row.what;
    EXPECT_EQ(first.url, row.url) << row.what;
    EXPECT_TRUE(std::regex_match(first.code, std::regex("[a-z2-7]{10}(-[0-9]+)?"))) << row.what;
  }
}

TEST(ParseChannelList, KeepsWhatEachChannelNeeds) {
  const ChannelList list = ParseChannelList(
      "#EXTM3U x-tvg-url=\"http://g/a.xml, http://g/b.xml.gz,file:///g.xml\" url-tvg=\"http://g/a.xml\"\n"
      "#EXTINF:-1 tvg-id=\"c1\" tvg-logo=\"http://l/1.png\",Same\n#EXTVLCOPT:http-user-agent=Player/2\n"
      "#EXTVLCOPT:http-referrer=http://site/\nhttp://s/1\n"
      "#EXTINF:-1 tvg-logo=\"data:image/png;base64,AAAA\",Same\nhttp://s/2\n#EXTINF:-1,Same\nhttp://s/1\n"
      "#EXTINF:-1 radio=\"true\",Radio\nhttp://r/\n",
      "/home/u/list.m3u");
  EXPECT_EQ(list.guide_urls, (std::vector<std::string>{"http://g/a.xml", "http://g/b.xml.gz"}));
  ASSERT_EQ(list.channels.size(), 4U);
  EXPECT_EQ(list.channels[0].user_agent, "Player/2");
  EXPECT_EQ(list.channels[0].referrer, "http://site/");
  EXPECT_EQ(list.channels[0].logo_url, "http://l/1.png");
  EXPECT_EQ(list.channels[1].user_agent, "") << "options belong to one entry";
  EXPECT_EQ(list.channels[1].logo_url, "") << "the service fetches only web logos";
  EXPECT_TRUE(list.channels[3].radio);
  // Three channels called the same, one of them the same stream twice: three codes.
  const std::set<std::string> codes{list.channels[0].code, list.channels[1].code, list.channels[2].code};
  EXPECT_EQ(codes.size(), 3U);
  EXPECT_EQ(list.channels[2].code, list.channels[0].code + "-2");
  // Stable from one reading to the next, and different for another list.
  EXPECT_EQ(ParseChannelList("http://s/1\n", "/home/u/list.m3u").channels[0].code, list.channels[0].code);
  EXPECT_NE(ParseChannelList("http://s/1\n", "/home/u/other.m3u").channels[0].code, list.channels[0].code);
  // Relative entries only name streams beside a list from the web.
  EXPECT_EQ(ParseChannelList("a.ts\n/b.ts\n//c/d.ts\n", "https://h:8/x/l.m3u?k=1").channels.size(), 3U);
  EXPECT_EQ(ParseChannelList("/b.ts\n//c/d.ts\n", "https://h:8/x/l.m3u?k=1").channels[1].url,
            "https://c/d.ts");
  EXPECT_EQ(ParseChannelList("a.ts\n", "https://h:8").channels[0].url, "https://h:8/a.ts");
  EXPECT_EQ(ParseChannelList("a.ts\n", "https://h:8/x/l.m3u?k=/1").channels[0].url, "https://h:8/x/a.ts");
  EXPECT_TRUE(ParseChannelList("a.ts\n/b.ts\n", "/home/u/list.m3u").channels.empty());
}

TEST(ParseChannelList, DecodesGbkLists) {
  const std::string gbk =
      EncodeAnsi("#EXTM3U\r\n#EXTINF:-1 group-title=\"央视频道\",CCTV-1 综合\r\nhttp://s/1\r\n");
  const ChannelList list = ParseChannelList(gbk, "http://lists/gbk.m3u");
  EXPECT_TRUE(list.was_gb18030);
  ASSERT_EQ(list.channels.size(), 1U);
  EXPECT_EQ(list.channels[0].name, "CCTV-1 综合");
  EXPECT_EQ(list.channels[0].group, "央视频道");
}

// How fast a long list is read is the benchmark's business; here only what
// the bounds keep.
TEST(ParseChannelList, StaysWithinItsBounds) {
  std::string big = "#EXTM3U\n";
  for (int i = 0; i < 20'000; ++i) {
    big += "#EXTINF:-1 tvg-id=\"c" + std::to_string(i) + "\" group-title=\"G" + std::to_string(i % 50) +
           "\",Ch " + std::to_string(i) + "\nhttp://s/" + std::to_string(i) + ".m3u8\n";
  }
  const ChannelList list =
      ParseChannelList(big, "http://lists/big.m3u", {.max_bytes = 64U << 20U, .max_channels = 1'000'000});
  EXPECT_EQ(list.channels.size(), 20'000U);
  EXPECT_FALSE(list.truncated);

  const ChannelList capped = ParseChannelList(big, "http://lists/big.m3u", {.max_channels = 1000});
  EXPECT_EQ(capped.channels.size(), 1000U);
  EXPECT_TRUE(capped.truncated);
  const ChannelList cut = ParseChannelList(big, "http://lists/big.m3u", {.max_bytes = 1000});
  EXPECT_TRUE(cut.truncated);
  EXPECT_LT(cut.channels.size(), 20U);
  EXPECT_EQ(cut.channels.back().url.back(), '8') << "the cut falls at a line end";
}

}  // namespace
}  // namespace taviro::channels
