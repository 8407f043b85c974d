#include "channels/channel_list_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace taviro::channels {
namespace {

Channel Make(std::string code, std::string name, std::string group, std::string logo = {}) {
  Channel channel;
  channel.code = std::move(code);
  channel.name = std::move(name);
  channel.group = std::move(group);
  channel.logo_url = std::move(logo);
  return channel;
}

std::size_t Count(const std::string& page, std::string_view part) {
  std::size_t count = 0;
  for (std::size_t at = page.find(part); at != std::string::npos; at = page.find(part, at + 1)) ++count;
  return count;
}

TEST(ChannelListPage, StarredFirstHiddenGoneEverythingEscaped) {
  const std::vector<Channel> channels{
      Make("news1", "<b>News</b> & more", "新闻 & 资讯", "http://third.party/logo.png"),
      Make("sport1", "Sport", "体育"),
      Make("hidden1", "Secret", "Adult"),
      Make("film1", "Film \"1\"", ""),
      Make("sport2", "Sport 2", "体育"),
  };
  const ChannelPageState state{.starred_codes = {"sport2", "gone"}, .hidden_groups = {"Adult"}};
  const std::string page = RenderChannelListPage(channels, state, {}, [](const Channel& c) {
    return c.code == "news1" ? std::string("正在播放：<x>") : "";
  });

  // Groups in the list's order below the starred group; the hidden one only offered back.
  const std::size_t starred = page.find("<summary>收藏 (1)");
  const std::size_t news = page.find("<summary>新闻 &amp; 资讯 (1)");
  const std::size_t sport = page.find("<summary>体育 (2)");
  const std::size_t rest = page.find("<summary>未分组 (1)");
  ASSERT_NE(starred, std::string::npos);
  EXPECT_LT(starred, news);
  EXPECT_LT(news, sport);
  EXPECT_LT(sport, rest);
  EXPECT_EQ(page.find("mitvs://hidden1"), std::string::npos);
  EXPECT_NE(page.find("href=\"show.htm?group=Adult\">Adult</a>"), std::string::npos);
  EXPECT_EQ(Count(page, "href=\"mitvs://sport2\""), 2U) << "a starred channel also stays in its group";
  EXPECT_EQ(Count(page, "unstar.htm?sport2"), 2U);

  // Names, tooltips and group links escaped; logos only through the service.
  EXPECT_NE(page.find("title=\"正在播放：&lt;x&gt;\"><img src=\"logo/news1\""), std::string::npos);
  EXPECT_NE(page.find("<span>&lt;b&gt;News&lt;/b&gt; &amp; more</span>"), std::string::npos);
  EXPECT_NE(page.find("title=\"Film &quot;1&quot;\""), std::string::npos);
  EXPECT_NE(page.find("hide.htm?group=%E6%96%B0%E9%97%BB%20%26%20%E8%B5%84%E8%AE%AF"), std::string::npos);
  EXPECT_EQ(page.find("third.party"), std::string::npos);
  EXPECT_NE(page.find("width:202px"), std::string::npos);
}

TEST(ChannelListPage, ALongListComesInParts) {
  std::vector<Channel> channels;
  for (int i = 0; i < 10'000; ++i) {
    channels.push_back(
        Make("c" + std::to_string(i), "Ch " + std::to_string(i), i < 9'000 ? "Big" : "Small & odd"));
  }
  const ChannelPageState none;
  const std::string whole = RenderChannelListPage(channels, none, {}, {});
  EXPECT_EQ(Count(whole, "<li "), 400U);
  EXPECT_NE(whole.find("href=\"list.htm?group=Big&amp;from=200\">更多（8800）"), std::string::npos);

  // Each "more" link's query gives the next rows; the last part has no link.
  const PageSlice slice = ParseChannelPageQuery("group=Small+%26%20odd&from=800");
  EXPECT_EQ(slice.part, PageSlice::Part::kGroup);
  EXPECT_EQ(slice.text, "Small & odd");
  const std::string tail = RenderChannelListPage(channels, none, slice, {});
  EXPECT_EQ(Count(tail, "<li "), 200U);
  EXPECT_NE(tail.find("mitvs://c9800\""), std::string::npos);
  EXPECT_EQ(tail.find("更多"), std::string::npos);

  const std::string found = RenderChannelListPage(channels, none, ParseChannelPageQuery("find=ch%20999"), {});
  EXPECT_EQ(Count(found, "<li "), 11U) << "Ch 999 and Ch 9990 to 9999";
  EXPECT_EQ(ParseChannelPageQuery("find=%20").part, PageSlice::Part::kAll);
  EXPECT_EQ(ParseChannelPageQuery("starred=1&from=99999999999999").from, 100'000'000U);
}

}  // namespace
}  // namespace taviro::channels
