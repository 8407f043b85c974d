#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "library/link_forms.h"
#include "service/running_service.h"
#include "support/page_text.h"
#include "util/ansi_text.h"
#include "util/script_escape.h"

namespace taviro::demo::testing {
namespace {

using taviro::testing::AttributeValues;
using taviro::testing::Split;

class CataloguePagesTest : public ::testing::Test {
 protected:
  RunningService service_;
};

TEST_F(CataloguePagesTest, HomePageIsGb18030WithoutDeclaredCharset) {
  const httplib::Result result = service_.Get("/");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  EXPECT_EQ(result->get_header_value("Content-Type"), "text/html");
  // 山海 in GB18030, and the four-byte form of a character outside GBK.
  EXPECT_NE(result->body.find("\xC9\xBD\xBA\xA3"), std::string::npos);
  EXPECT_NE(result->body.find("\x95\x34\xB2\x35"), std::string::npos);
  EXPECT_EQ(result->body.find("山海"), std::string::npos) << "the page went out in UTF-8";
  EXPECT_EQ(result->body.find("charset"), std::string::npos);
  const std::string page = DecodeAnsi(result->body);
  for (const Series& series : service_.catalogue().series) {
    EXPECT_NE(page.find(series.title), std::string::npos) << series.title;
  }
}

// The program splits "mivuvod://" links on "-" into id, source, episode and
// the escaped title; every episode of every source must be reachable.
TEST_F(CataloguePagesTest, EveryEpisodeHasOneCatalogueLinkThatParsesBack) {
  const std::string page = service_.GetPage("/");
  std::set<std::tuple<int, std::size_t, std::size_t>> seen;
  for (const std::string& link : AttributeValues(page, "href", "mivuvod://")) {
    const std::string rest = link.substr(std::string("mivuvod://").size());
    const std::vector<std::string> fields = Split(rest, "-");
    ASSERT_GE(fields.size(), 4U) << link;
    std::string title = fields[3];
    for (std::size_t k = 4; k < fields.size(); ++k) title += "-" + fields[k];
    EXPECT_EQ(ScriptEscape(ScriptUnescape(title)), title) << "not in escape() form: " << link;
    const Series* series = service_.catalogue().FindSeries(std::stoi(fields[0]));
    ASSERT_NE(series, nullptr) << link;
    const std::size_t source = std::stoul(fields[1]);
    const std::size_t episode = std::stoul(fields[2]);
    ASSERT_LT(source, series->sources.size()) << link;
    ASSERT_LT(episode, series->sources[source].episodes.size()) << link;
    // A "-" in the title survives escape(), so the title is the rest.
    EXPECT_EQ(ScriptUnescape(title), series->title) << link;
    seen.emplace(series->id, source, episode);
  }
  std::size_t expected = 0;
  for (const Series& series : service_.catalogue().series) {
    for (const Source& source : series.sources) expected += source.episodes.size();
  }
  EXPECT_EQ(seen.size(), expected);
}

TEST_F(CataloguePagesTest, TitlesAreEscapedExactlyAsTheScriptFunctionDoes) {
  const std::string page = service_.GetPage("/");
  // escape("100%心动"), escape("星际-归途") and escape("𠮷祥小馆"), by hand.
  EXPECT_NE(page.find("href=\"mivuvod://103-0-0-100%25%u5FC3%u52A8\""), std::string::npos);
  EXPECT_NE(page.find("href=\"mivuvod://102-1-5-%u661F%u9645-%u5F52%u9014\""), std::string::npos);
  EXPECT_NE(page.find("href=\"mivuvod://104-0-3-%uD842%uDFB7%u7965%u5C0F%u9986\""), std::string::npos);
}

struct EpisodeData {
  std::string source_name;
  std::string name;
  std::string url;
  std::string kind;
};

// Reads the block the way the program and its local list page do: the text
// between the marker and the next ";", a quoted script string, split on
// "$$$", "$$", "#" and "$".
std::vector<EpisodeData> ReadEpisodeData(const std::string& page) {
  const std::string marker = "var VideoInfoList=";
  const std::size_t body = page.find("<body");
  const std::size_t start = page.find(marker);
  EXPECT_NE(start, std::string::npos);
  EXPECT_GT(start, body) << "the program reads the block from the body only";
  if (start == std::string::npos) return {};
  const std::size_t value_start = start + marker.size();
  const std::string literal = page.substr(value_start, page.find(';', value_start) - value_start);
  EXPECT_GE(literal.size(), 2U);
  EXPECT_EQ(literal.front(), '"');
  EXPECT_EQ(literal.back(), '"');
  std::vector<EpisodeData> data;
  for (const std::string& source : Split(literal.substr(1, literal.size() - 2), "$$$")) {
    const std::vector<std::string> name_and_episodes = Split(source, "$$");
    EXPECT_EQ(name_and_episodes.size(), 2U) << source;
    if (name_and_episodes.size() != 2) continue;
    for (const std::string& episode : Split(name_and_episodes[1], "#")) {
      const std::vector<std::string> fields = Split(episode, "$");
      EXPECT_EQ(fields.size(), 3U) << episode;
      if (fields.size() == 3) data.push_back({name_and_episodes[0], fields[0], fields[1], fields[2]});
    }
  }
  return data;
}

void ExpectEpisodeDataOf(const Series& series, const std::string& page, const std::string& base_url) {
  const std::vector<EpisodeData> data = ReadEpisodeData(page);
  std::size_t k = 0;
  for (const Source& source : series.sources) {
    for (const Episode& episode : source.episodes) {
      ASSERT_LT(k, data.size());
      EXPECT_EQ(data[k].source_name, source.name);
      EXPECT_EQ(data[k].name, episode.name);
      EXPECT_EQ(data[k].url, MediaUrl(base_url, episode.media, source.kind));
      EXPECT_EQ(data[k].kind, source.kind);
      ++k;
    }
  }
  EXPECT_EQ(k, data.size());
}

TEST_F(CataloguePagesTest, HomeAndSeriesPagesCarryEpisodeDataInTheListPageForm) {
  const Catalogue& catalogue = service_.catalogue();
  ExpectEpisodeDataOf(catalogue.series.front(), service_.GetPage("/"), service_.BaseUrl());
  for (const Series& series : catalogue.series) {
    const std::string page = service_.GetPage("/vod/" + std::to_string(series.id) + ".htm");
    ExpectEpisodeDataOf(series, page, service_.BaseUrl());
    EXPECT_EQ(AttributeValues(page, "href", "mivuvod://" + std::to_string(series.id) + "-").size(),
              series.sources[0].episodes.size() + series.sources[1].episodes.size());
  }
  // "&" in an episode name is raw inside the script, escaped in markup.
  const std::string page = service_.GetPage("/vod/103.htm");
  EXPECT_NE(page.find("特别篇 & 花絮$"), std::string::npos);
  EXPECT_NE(page.find("title=\"特别篇 &amp; 花絮\""), std::string::npos);
}

TEST_F(CataloguePagesTest, UnknownPagesAreNotFoundInGb18030) {
  for (const char* target : {"/vod/999.htm", "/nothing.htm"}) {
    const httplib::Result result = service_.Get(target);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 404) << target;
    EXPECT_NE(DecodeAnsi(result->body).find("页面不存在"), std::string::npos);
  }
}

}  // namespace
}  // namespace taviro::demo::testing
