#include "library/media_name.h"

#include <gtest/gtest.h>

#include <optional>

namespace taviro::library {
namespace {

struct Row {
  const char* stem;
  const char* title;
  std::optional<int> year;
  std::optional<int> season;
  std::optional<int> episode;
};

constexpr std::nullopt_t kNo = std::nullopt;

TEST(ParseMediaName, ReadsTitlesYearsSeasonsAndEpisodes) {
  const Row rows[] = {
      // Release tags, groups and separators go; the year stays apart.
      {"The.Matrix.1999.1080p.BluRay.x264-GROUP", "The Matrix", 1999, kNo, kNo},
      {"Inception (2010) [2160p] [HEVC 10bit] [FLAC]", "Inception", 2010, kNo, kNo},
      {"Some_Film_2019_WEB-DL_H.264_AAC2.0", "Some Film", 2019, kNo, kNo},
      {"Blade Runner 2049 (2017)", "Blade Runner 2049", 2017, kNo, kNo},
      {"Blade.Runner.2049.2017.4K.HDR", "Blade Runner 2049", 2017, kNo, kNo},
      {"1917", "1917", kNo, kNo, kNo},
      {"2012 (2009)", "2012", 2009, kNo, kNo},
      {"Spider-Man - Into the Spider-Verse", "Spider-Man - Into the Spider-Verse", kNo, kNo, kNo},
      {"The Office (US) S01E02 720p HDTV", "The Office (US)", kNo, 1, 2},
      {"【字幕组】电影名 [1080p]", "电影名", kNo, kNo, kNo},
      {"Ｆｉｌｍ（２００１）", "Film", 2001, kNo, kNo},
      // Episode markers.
      {"Show.Name.S01E02.Pilot.720p", "Show Name", kNo, 1, 2},
      {"show s2e13e14", "show", kNo, 2, 13},
      {"Show 1x02", "Show", kNo, 1, 2},
      {"Show EP02", "Show", kNo, kNo, 2},
      {"Show.E02", "Show", kNo, kNo, 2},
      {"Show Ep. 07 - Title", "Show", kNo, kNo, 7},
      {"Show S03 E04", "Show", kNo, 3, 4},
      {"Title.Part.2", "Title", kNo, kNo, 2},
      {"Film CD2", "Film", kNo, kNo, 2},
      {"Season 2", "", kNo, 2, kNo},
      {"S01", "", kNo, 1, kNo},
      // What media servers are known to get wrong.
      {"One Piece - 679 [1080p]", "One Piece", kNo, kNo, 679},
      {"Title 2 - 01", "Title 2", kNo, kNo, 1},
      {"[SubsPlease] Frieren - 12v2 (1080p) [ABCD1234]", "Frieren", kNo, kNo, 12},
      {"[Group][Title][05][BIG5][1080P]", "Title", kNo, kNo, 5},
      {"Title - 2019", "Title", 2019, kNo, kNo},
      {"1920x1080 Video", "Video", kNo, kNo, kNo},
      // Chinese names.
      {"庆余年 第02集", "庆余年", kNo, kNo, 2},
      {"庆余年第二季第十二集", "庆余年", kNo, 2, 12},
      {"第一季", "", kNo, 1, kNo},
      {"名侦探柯南 第一百零五话", "名侦探柯南", kNo, kNo, 105},
      {"《庆余年》全46集 国语中字", "庆余年", kNo, kNo, kNo},
      {"第一滴血", "第一滴血", kNo, kNo, kNo},
      {"某剧.第三季.EP05.1080p", "某剧", kNo, 3, 5},
      // Odd input stays harmless.
      {"", "", kNo, kNo, kNo},
      {"[[unclosed (2001", "unclosed", 2001, kNo, kNo},
      {"- - -", "", kNo, kNo, kNo},
      {"\xff\xfe name", "\xEF\xBF\xBD\xEF\xBF\xBD name", kNo, kNo, kNo},
  };
  for (const Row& row : rows) {
    const MediaName name = ParseMediaName(row.stem);
    EXPECT_EQ(name.title, row.title) << row.stem;
    EXPECT_EQ(name.year, row.year) << row.stem;
    EXPECT_EQ(name.season, row.season) << row.stem;
    EXPECT_EQ(name.episode, row.episode) << row.stem;
    EXPECT_FALSE(name.extra) << row.stem;
  }
}

TEST(ParseMediaName, MarksSamplesTrailersAndExtras) {
  for (const char* stem :
       {"sample", "movie-sample", "Movie.2010.Sample.1080p", "Movie (2010)-trailer", "Movie Trailer",
        "Movie-behindthescenes", "Movie-featurette", "电影 预告片", "拍摄花絮"}) {
    EXPECT_TRUE(ParseMediaName(stem).extra) << stem;
  }
  for (const char* stem :
       {"Trailer Park Boys S01E01", "Samples of Life S01E01", "Movie (2010)", "Extra Ordinary"}) {
    EXPECT_FALSE(ParseMediaName(stem).extra) << stem;
  }
}

}  // namespace
}  // namespace taviro::library
