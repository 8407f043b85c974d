#include "http/catalogue.h"

#include <gtest/gtest.h>

#include "http/command_line.h"
#include "service/running_service.h"
#include "util/ansi_text.h"

namespace taviro::demo::testing {
namespace {

TEST(CatalogueTest, SampleCatalogueCoversTheAwkwardTitles) {
  const Catalogue catalogue = SampleCatalogue();
  ASSERT_GE(catalogue.series.size(), 4U);
  bool dash = false, percent = false, beyond_gbk = false;
  for (const Series& series : catalogue.series) {
    EXPECT_EQ(series.sources.size(), 2U) << series.title;
    for (const Source& source : series.sources) {
      EXPECT_GE(source.episodes.size(), 3U) << series.title;
      EXPECT_LE(source.episodes.size(), 12U) << series.title;
    }
    dash |= series.title.find('-') != std::string::npos;
    percent |= series.title.find('%') != std::string::npos;
    // Characters outside GBK take four bytes in GB18030.
    const std::string ansi = EncodeAnsi(series.title);
    for (std::size_t i = 0; i + 1 < ansi.size(); ++i) {
      const auto second = static_cast<unsigned char>(ansi[i + 1]);
      if (static_cast<unsigned char>(ansi[i]) >= 0x81 && second >= 0x30 && second <= 0x39) beyond_gbk = true;
    }
  }
  EXPECT_TRUE(dash);
  EXPECT_TRUE(percent);
  EXPECT_TRUE(beyond_gbk);
  EXPECT_GE(catalogue.channels.size(), 3U);
}

TEST(CatalogueTest, RefusesDataThatWouldBreakTheReplyFormats) {
  const auto error_of = [](const std::string& json) {
    try {
      ParseCatalogue(json);
    } catch (const CatalogueError& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  const std::string episode = R"({"name": "e1", "media": "a.mp4"})";
  const auto one_series = [&](const std::string& id, const std::string& source_name, const std::string& kind,
                              const std::string& episodes) {
    return R"({"series": [{"id": )" + id + R"(, "title": "t", "sources": [{"name": ")" + source_name +
           R"(", "kind": ")" + kind + R"(", "episodes": [)" + episodes + "]}]}]}";
  };
  EXPECT_EQ(error_of(one_series("1", "s", "qvod", episode)), "accepted");
  EXPECT_NE(error_of("{").find("not valid JSON"), std::string::npos);
  EXPECT_NE(error_of(one_series("0", "s", "qvod", episode)).find("positive integer id"), std::string::npos);
  EXPECT_NE(error_of(one_series("\"7\"", "s", "qvod", episode)).find("positive integer id"),
            std::string::npos);
  EXPECT_NE(error_of(one_series("1", "s$1", "qvod", episode)).find("holds one of"), std::string::npos);
  EXPECT_NE(
      error_of(one_series("1", "s", "qvod", R"({"name": "a#b", "media": "a.mp4"})")).find("holds one of"),
      std::string::npos);
  EXPECT_NE(error_of(one_series("1", "s", "qvod", R"({"name": "a", "media": "x;y"})")).find("holds one of"),
            std::string::npos);
  EXPECT_NE(error_of(one_series("1", "s", "web&x", episode)).find("one plain word"), std::string::npos);
  EXPECT_NE(error_of(one_series("1", "s", "qvod", "")).find("has no episodes"), std::string::npos);
  const std::string twice = R"({"series": [{"id": 5, "title": "a", "sources": [{"name": "s", "kind": "qvod",
      "episodes": [{"name": "e", "media": "m"}]}]}, {"id": 5, "title": "b", "sources": [{"name": "s",
      "kind": "qvod", "episodes": [{"name": "e", "media": "m"}]}]}]})";
  EXPECT_NE(error_of(twice).find("appears twice"), std::string::npos);
  EXPECT_NE(
      error_of(R"({"series": [], "tv": [{"code": "a b", "name": "n", "media": "m"}]})").find("channel code"),
      std::string::npos);
  EXPECT_NE(error_of(R"({"series": [], "headlines": [{"text": "a||b", "link": "*"}]})").find("separator"),
            std::string::npos);
  EXPECT_NE(error_of(R"({"series": [], "switches": {"version": "2.4\r\n"}})").find("line break"),
            std::string::npos);
}

TEST(CommandLineTest, OptionsOverrideDefaults) {
  CommandLine defaults;
  defaults.port = 18080;
  defaults.data_folder = "/data";
  std::string error;
  const auto parsed =
      ParseCommandLine({"--port", "0", "--media", "/m", "--end-address", "http://x/"}, defaults, error);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->port, 0);
  EXPECT_EQ(parsed->data_folder, "/data");
  EXPECT_EQ(parsed->media_folder, "/m");
  EXPECT_EQ(parsed->end_address, "http://x/");
  EXPECT_EQ(ParseCommandLine({}, defaults, error)->port, 18080);
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--port"},
                                              {"--port", "-1"},
                                              {"--port", "65536"},
                                              {"--port", "80x"},
                                              {"--verbose"}}) {
    EXPECT_FALSE(ParseCommandLine(bad, defaults, error)) << bad[0];
  }
}

}  // namespace
}  // namespace taviro::demo::testing
