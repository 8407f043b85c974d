#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "service/running_service.h"
#include "support/page_text.h"
#include "util/ansi_text.h"

namespace taviro::demo::testing {
namespace {

using taviro::testing::AttributeValues;
using taviro::testing::Split;

class SidePagesTest : public ::testing::Test {
 protected:
  nlohmann::json Stats() {
    const httplib::Result result = service_.Get("/__stats");
    if (!result) return {};
    EXPECT_EQ(result->get_header_value("Content-Type"), "application/json");
    return nlohmann::json::parse(result->body);
  }

  RunningService service_;
};

TEST_F(SidePagesTest, ChannelListLinksEveryChannelByCode) {
  const std::string page = service_.GetPage("/tv/list.htm");
  EXPECT_NE(page.find("body{width:202px;"), std::string::npos);
  const std::vector<std::string> links = AttributeValues(page, "href", "mitvs://");
  ASSERT_EQ(links.size(), service_.catalogue().channels.size());
  for (std::size_t i = 0; i < links.size(); ++i) {
    const TvChannel& channel = service_.catalogue().channels[i];
    EXPECT_EQ(links[i], "mitvs://" + channel.code);
    // The program turns the link into "tv/mivutv.htm?" + the code.
    const std::string player = service_.GetPage("/tv/mivutv.htm?" + channel.code);
    EXPECT_NE(player.find(channel.name), std::string::npos);
    EXPECT_NE(player.find("src=\"" + service_.BaseUrl() + "media/" + channel.media + "\""),
              std::string::npos);
  }
  EXPECT_NE(page.find("央视频道"), std::string::npos);
  EXPECT_NE(service_.GetPage("/tv/mivutv.htm?nosuch").find("无信号"), std::string::npos);
}

TEST_F(SidePagesTest, StartUpPagesAnswerInGb18030) {
  const std::vector<std::pair<std::string, std::string>> pages = {
      {"/tv/ad.htm", "请在右侧列表中选择频道"}, {"/js/ads/bo.html", "width:468px;height:60px"},
      {"/js/ads/jingcai.html", "精彩推荐"},     {"/js/ads/qvodad.html", "width:450px;height:260px"},
      {"/js/ads/tui.html", "感谢使用"},
  };
  for (const auto& [target, text] : pages) {
    const httplib::Result result = service_.Get(target);
    ASSERT_TRUE(result) << target;
    EXPECT_EQ(result->status, 200) << target;
    EXPECT_EQ(result->get_header_value("Content-Type"), "text/html") << target;
    EXPECT_NE(DecodeAnsi(result->body).find(text), std::string::npos) << target;
    EXPECT_EQ(EncodeAnsi(DecodeAnsi(result->body)), result->body) << target << " is not clean GB18030";
  }
  for (const Series& series : service_.catalogue().series) {
    EXPECT_NE(service_.GetPage("/js/ads/jingcai.html").find(series.title), std::string::npos);
  }
}

TEST_F(SidePagesTest, SwitchNewsAndNoticeFilesInTheirSeparatedForms) {
  const std::string base = service_.BaseUrl();
  EXPECT_EQ(service_.GetPage("/lib/wen.txt"), "0====1====1====1====1====2.3\r\n");

  const httplib::Result news = service_.Get("/lib/gun.txt");
  ASSERT_TRUE(news);
  EXPECT_NE(news->body.find(EncodeAnsi("《山海情缘》大结局")), std::string::npos);
  std::string text = DecodeAnsi(news->body);
  ASSERT_GE(text.size(), 2U);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  const std::vector<std::string> entries = Split(text.substr(0, text.size() - 2), "$$$");
  ASSERT_EQ(entries.size(), service_.catalogue().headlines.size());
  EXPECT_EQ(entries[0], "《山海情缘》大结局今晚上线，十年之约终有答案||" + base + "vod/101.htm");
  EXPECT_EQ(Split(entries[2], "||").at(1), "*");

  text = service_.GetPage("/lib/tan.txt");
  EXPECT_EQ(text, "20||1||1||" + base + "notice/1.htm$$$" + base + "notice/2.htm\r\n");
  EXPECT_NE(service_.GetPage("/notice/2.htm").find("《𠮷祥小馆》全集免费看"), std::string::npos);
  EXPECT_EQ(service_.Get("/notice/3.htm")->status, 404);

  const httplib::Result updater = service_.Get("/update/update.exe");
  ASSERT_TRUE(updater);
  EXPECT_EQ(updater->status, 200);
  EXPECT_EQ(updater->get_header_value("Content-Type"), "application/octet-stream");
}

TEST_F(SidePagesTest, StatisticsRequestsAreCountedPerId) {
  for (const char* id : {"00-1A-2B-3C-4D-5E", "00-1A-2B-3C-4D-5E", "20119169574570", "00-1A-2B-3C-4D-5E"}) {
    EXPECT_EQ(service_.GetPage(std::string("/tj/tj.asp?id=") + id), "<html><body></body></html>");
  }
  service_.Get("/tj/tj.asp?id=");  // a settings file without an identity still sends a request
  const nlohmann::json stats = Stats();
  EXPECT_EQ(stats["tj"]["00-1A-2B-3C-4D-5E"], 3);
  EXPECT_EQ(stats["tj"]["20119169574570"], 1);
  EXPECT_EQ(stats["tj"][""], 1);
  EXPECT_EQ(stats["paths"]["/tj/tj.asp"], 5);
  EXPECT_EQ(stats["recent"].back(), "/tj/tj.asp?id=");
}

TEST_F(SidePagesTest, RecentRequestsKeepTheRawTarget) {
  service_.Get("/h.asp?id=12&v=0&v1=3");
  service_.Get("/pp.htm?7-1-4-%u4E2D-15");
  service_.Get("/__stats");  // control requests are not recorded
  const nlohmann::json stats = Stats();
  ASSERT_EQ(stats["recent"].size(), 2U);
  EXPECT_EQ(stats["recent"][0], "/h.asp?id=12&v=0&v1=3");
  EXPECT_EQ(stats["recent"][1], "/pp.htm?7-1-4-%u4E2D-15");
}

}  // namespace
}  // namespace taviro::demo::testing
