#include <gtest/gtest.h>

#include "library/link_forms.h"
#include "service/running_service.h"
#include "support/page_text.h"
#include "util/ansi_text.h"
#include "util/script_escape.h"

namespace taviro::demo::testing {
namespace {

using taviro::testing::AttributeValues;
using taviro::testing::Split;

class EpisodePagesTest : public ::testing::Test {
 protected:
  std::string Reply(const std::string& query) {
    const httplib::Result result = service_.Get("/h.asp?" + query);
    if (!result) return "<no reply>";
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->get_header_value("Content-Type"), "text/html");
    return result->body;
  }

  RunningService service_;
};

// The program builds the h.asp request from a catalogue link's fields and
// splits a record reply on "$" into name, media address and kind.
TEST_F(EpisodePagesTest, EveryCatalogueLinkResolvesToItsEpisode) {
  const std::string page = service_.GetPage("/");
  int checked = 0;
  for (const std::string& link : AttributeValues(page, "href", "mivuvod://")) {
    const std::vector<std::string> fields = Split(link.substr(10), "-");
    const std::string reply = Reply("id=" + fields[0] + "&v=" + fields[1] + "&v1=" + fields[2]);
    const std::vector<std::string> record = Split(reply, "$");
    ASSERT_EQ(record.size(), 3U) << link << " -> " << reply;
    const Series* series = service_.catalogue().FindSeries(std::stoi(fields[0]));
    const Source& source = series->sources[std::stoul(fields[1])];
    const Episode& episode = source.episodes[std::stoul(fields[2])];
    EXPECT_EQ(ScriptUnescape(record[0]), episode.name);
    EXPECT_EQ(ScriptEscape(ScriptUnescape(record[0])), record[0]) << "name not in escaped form";
    EXPECT_EQ(record[1], MediaUrl(service_.BaseUrl(), episode.media, source.kind));
    EXPECT_EQ(record[2], source.kind);
    ++checked;
  }
  EXPECT_GT(checked, 40);
}

TEST_F(EpisodePagesTest, EpisodeReplyExactForm) {
  EXPECT_EQ(Reply("id=103&v=0&v1=7"),
            "%u7279%u522B%u7BC7%20%26%20%u82B1%u7D6E$" + service_.BaseUrl() + "qvod/sample-b.mp4$qvod");
  EXPECT_EQ(Reply("id=101&v=1&v1=0"), "%u7B2C01%u96C6$" + service_.BaseUrl() + "media/sample-b.mp4$web");
}

TEST_F(EpisodePagesTest, MissingEpisodesAnswerZeroAndUnreadableRequestsOne) {
  EXPECT_EQ(Reply("id=101&v=0&v1=12"), "0");  // one past the last episode
  EXPECT_EQ(Reply("id=101&v=2&v1=0"), "0");   // no third source
  EXPECT_EQ(Reply("id=999&v=0&v1=0"), "0");
  EXPECT_EQ(Reply("id=101&v=0&v1=-1"), "0");
  EXPECT_EQ(Reply("id=&v=0&v1=0"), "1");  // the program sends empty fields as they are
  EXPECT_EQ(Reply("id=101&v=0"), "1");
  EXPECT_EQ(Reply("id=abc&v=0&v1=0"), "1");
  EXPECT_EQ(Reply("id=101&v=0&v1=99999999999999999999"), "1");
}

TEST_F(EpisodePagesTest, MediaAddressesInRepliesAreServed) {
  const std::vector<std::string> record = Split(Reply("id=102&v=0&v1=0"), "$");
  ASSERT_EQ(record.size(), 3U);
  const std::string prefix = service_.BaseUrl();
  ASSERT_EQ(record[1].rfind(prefix, 0), 0U);
  const httplib::Result media = service_.Get("/" + record[1].substr(prefix.size()));
  ASSERT_TRUE(media);
  EXPECT_EQ(media->status, 200);
  EXPECT_EQ(media->body, "clip:sample-a.mp4");
}

TEST_F(EpisodePagesTest, EpisodeListMarksOpensAndClicksWhatItsQueryNames) {
  // The title holds a "-", which escape() keeps: it must not shift cll.
  const std::string page = service_.GetPage("/pp.htm?102-1-4-%u661F%u9645-%u5F52%u9014-13");
  EXPECT_NE(page.find("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"),
            std::string::npos);
  EXPECT_NE(page.find("星际-归途"), std::string::npos);
  const std::vector<std::string> links = AttributeValues(page, "href", "miqvod://");
  ASSERT_EQ(links.size(), 12U);
  const std::vector<std::string> fields = Split(links[8].substr(9), "&&&");  // source 1, episode 2
  ASSERT_EQ(fields.size(), 9U) << links[8];
  EXPECT_EQ(fields[0], "web");
  EXPECT_EQ(ScriptUnescape(fields[1]), service_.BaseUrl() + "media/sample-b.mp4");
  EXPECT_EQ(fields[2], "%u661F%u9645-%u5F52%u9014");
  EXPECT_EQ(ScriptUnescape(fields[3]), "第03集");
  EXPECT_EQ(fields[4], "102");
  EXPECT_EQ(fields[5], "1");
  EXPECT_EQ(fields[6], "2");
  EXPECT_EQ(fields[7], "n");
  EXPECT_EQ(fields[8], "1");
  EXPECT_NE(page.find("<a id=\"c12\" href=\"miqvod://web&amp;&amp;&amp;" + fields[1]), std::string::npos);
  EXPECT_NE(page.find("<li id=\"t14\" class=\"now\">"), std::string::npos);
  EXPECT_EQ(page.find("class=\"now\"", page.find("class=\"now\"") + 1), std::string::npos);
  EXPECT_NE(page.find("var cll=\"13\";"), std::string::npos);
  EXPECT_NE(page.find("openSource(1);"), std::string::npos);
  EXPECT_NE(page.find("<input type=\"hidden\" id=\"count\" value=\"2\">"), std::string::npos);
}

TEST_F(EpisodePagesTest, EpisodeListToleratesShortAndForeignQueries) {
  const std::string four_fields = service_.GetPage("/pp.htm?101-0-0-%u5C71");
  EXPECT_NE(four_fields.find("var cll=\"0\";"), std::string::npos);
  EXPECT_EQ(AttributeValues(four_fields, "href", "miqvod://").size(), 20U);
  // Links carry the title as escape(unescape(title)): lower-case hex and
  // needlessly escaped letters come out in the one form escape() writes.
  const std::string loose = service_.GetPage("/pp.htm?101-0-0-%u5c71%41-0");
  EXPECT_EQ(Split(AttributeValues(loose, "href", "miqvod://").at(0), "&&&").at(2), "%u5C71A");
  const std::string far_source = service_.GetPage("/pp.htm?101-7-0-x-0");
  EXPECT_NE(far_source.find("openSource(0);"), std::string::npos);
  EXPECT_NE(service_.GetPage("/pp.htm?888-0-0-x-0").find("暂无剧集"), std::string::npos);
  EXPECT_NE(service_.GetPage("/pp.htm").find("暂无剧集"), std::string::npos);
}

TEST_F(EpisodePagesTest, PlayPagePlaysTheUnescapedAddressAndEndsAtTheEndAddress) {
  const std::string url = service_.BaseUrl() + "media/sample-c.mp4?a=1&b=%";
  const std::string page = service_.GetPage("/play.htm?web$$$" + ScriptEscape(url));
  EXPECT_NE(page.find("src=\"" + service_.BaseUrl() + "media/sample-c.mp4?a=1&amp;b=%\""), std::string::npos);
  EXPECT_NE(page.find(std::string("var endAddress=\"") + kEndAddress + "\";"), std::string::npos);
  EXPECT_NE(page.find("charset=gb2312"), std::string::npos);
  EXPECT_NE(service_.GetPage("/play.htm?web").find("没有可播放的地址"), std::string::npos);
}

}  // namespace
}  // namespace taviro::demo::testing
