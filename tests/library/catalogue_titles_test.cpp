#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "library/library_model.h"
#include "library/library_page.h"
#include "library/link_forms.h"
#include "support/page_text.h"

namespace taviro::catalogue {
namespace {

using taviro::testing::AttributeValues;
using taviro::testing::Split;

IndexedFile File(std::int64_t id, std::string relative, std::int64_t mtime) {
  return {id, "/m/" + relative, std::move(relative), 100, mtime, {}};
}

// Ids that stay with their keys, as the index gives them.
TitleIdSource CountingIds() {
  auto ids = std::make_shared<std::map<std::string, int>>();
  return [ids](const std::string& key) {
    return ids->emplace(key, 2'000'000 + static_cast<int>(ids->size())).first->second;
  };
}

TEST(LibraryTitlesTest, SeriesAndFilmsComeNewestFirstWithEpisodesServedById) {
  LibraryFolder folder{
      "/m",
      {File(7, "剧/剧.S01E01.mkv", 100), File(8, "剧/剧.S01E02.mkv", 300), File(9, "Film (2020).mp4", 200)},
      {{"剧", "/m/剧/poster.jpg"}}};
  const std::vector<LibraryTitle> titles = BuildLibraryTitles({folder}, CountingIds());
  ASSERT_EQ(titles.size(), 2U);
  const LibraryTitle& series = titles[0];
  EXPECT_EQ(series.newest_mtime, 300);
  EXPECT_EQ(series.episode_count, 2U);
  EXPECT_EQ(series.picture, "/m/剧/poster.jpg");
  ASSERT_EQ(series.series.sources.size(), 1U);
  const std::vector<Episode>& episodes = series.series.sources[0].episodes;
  ASSERT_EQ(episodes.size(), 2U);
  EXPECT_EQ(episodes[0].media, "library/7.mkv");
  EXPECT_EQ(episodes[1].media, "library/8.mkv");
  EXPECT_EQ(MediaUrl("http://127.0.0.1:5/k/", episodes[1].media, series.series.sources[0].kind),
            "http://127.0.0.1:5/k/qvod/library/8.mkv");
  EXPECT_EQ(titles[1].episode_count, 1U);
  EXPECT_TRUE(titles[1].picture.empty());
  EXPECT_NE(titles[0].series.id, titles[1].series.id);
}

// A name off a user's disk may hold the list's separators: the list keeps
// its shape and the page shows the name.
TEST(LibraryTitlesTest, SeparatorsInNamesNeitherBreakTheEpisodeListNorVanishFromThePage) {
  LibraryFolder folder{"/m", {File(1, "怪$#\"\\;\n名/a$1.mp4", 5), File(2, "怪$#\"\\;\n名/a#2.mp4", 5)}, {}};
  std::vector<LibraryTitle> titles = BuildLibraryTitles({folder}, CountingIds());
  ASSERT_EQ(titles.size(), 1U);
  Series& series = titles[0].series;
  series.sources[0].name = "源$#";
  series.sources[0].episodes[0].name = "a$\"1\\;";
  const std::string list = VideoInfoListText(series, "http://127.0.0.1:5/");
  ASSERT_EQ(Split(list, "$$").size(), 2U) << list;
  const std::vector<std::string> entries = Split(Split(list, "$$")[1], "#");
  ASSERT_EQ(entries.size(), 2U) << list;
  for (const std::string& entry : entries) EXPECT_EQ(Split(entry, "$").size(), 3U) << entry;
  EXPECT_EQ(list.find_first_of("\"\\;\n"), std::string::npos) << list;

  LibraryView view;
  view.titles = titles;
  view.folders = {{"/m", true, true}};
  const std::string page = RenderLibrarySection(view, {});
  EXPECT_NE(page.find("怪$#&quot;\\;\n名"), std::string::npos);
}

TEST(LibraryPageTest, AnEmptyLibrarySaysWhichFoldersAreWatchedAndHowToAddOne) {
  LibraryView view;
  view.folders = {{"/home/u/Videos", false, true}, {"/mnt/影片", true, false}};
  const std::string page = RenderLibrarySection(view, {});
  EXPECT_NE(page.find("/home/u/Videos"), std::string::npos);
  EXPECT_NE(page.find("/mnt/影片（无法读取）"), std::string::npos);
  EXPECT_EQ(AttributeValues(page, "value", "remove").size(), 1U);  // only the kept folder
  EXPECT_EQ(AttributeValues(page, "value", "add").size(), 1U);
  EXPECT_NE(page.find("还没有影片"), std::string::npos);
  EXPECT_NE(RenderLibrarySection(view, {true, 12, 0, 0}).find("正在扫描：已找到 12 个文件"),
            std::string::npos);
}

}  // namespace
}  // namespace taviro::catalogue
