#include "channels/programme_guide.h"

#include <gtest/gtest.h>

#include <string>

namespace taviro::channels {
namespace {

Channel Named(std::string name, std::string guide_id = {}, std::string guide_name = {}) {
  Channel channel;
  channel.name = std::move(name);
  channel.guide_id = std::move(guide_id);
  channel.guide_name = std::move(guide_name);
  return channel;
}

// 2024-12-09 10:30:00 UTC, 18:30 in Beijing.
constexpr UnixTime kEvening = 1733740200;

TEST(ParseXmltvTime, ReadsTheGuidesForms) {
  const struct {
    const char* text;
    std::optional<UnixTime> time;
  } rows[] = {
      {"20241209183000 +0800", kEvening},
      {"20241209103000 +0000", kEvening},
      {"20241209103000", kEvening},
      {"20241209053000 -0500", kEvening},
      {"202412091030 Z", kEvening},
      {"20241209", kEvening - 10 * 3600 - 1800},
      {"20240229000000 +0000", 1709164800},
      {"19691231235959", -1},
      {"2024120918300", std::nullopt},
      {"20241309183000", std::nullopt},
      {"20241209183000 +08", std::nullopt},
      {"20241209183000 0800", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(ParseXmltvTime(row.text), row.time) << row.text;
}

TEST(ProgrammeGuide, GivesNowAndNextAcrossAProgrammesEnd) {
  ProgrammeGuide guide(kEvening);
  guide.AddChannelName("cctv1.cn", "CCTV 1");
  // Out of order, in two time zones, one far in the future and one long over.
  EXPECT_TRUE(guide.AddProgramme("cctv1.cn", "20241209110000 +0000", "20241209113000 +0000", "焦点访谈"));
  EXPECT_TRUE(guide.AddProgramme("cctv1.cn", "20241209180000 +0800", "20241209190000 +0800", "新闻联播"));
  EXPECT_FALSE(guide.AddProgramme("cctv1.cn", "20241212180000 +0800", "20241212190000 +0800", "later"));
  EXPECT_FALSE(guide.AddProgramme("cctv1.cn", "20241208180000 +0800", "20241208190000 +0800", "over"));
  EXPECT_FALSE(guide.AddProgramme("cctv1.cn", "20241209190000 +0800", "20241209180000 +0800", "backwards"));
  EXPECT_EQ(guide.programme_count(), 2U);

  const Channel by_id = Named("whatever", "cctv1.cn");
  std::optional<NowAndNext> now = guide.Find(by_id, kEvening);
  ASSERT_TRUE(now);
  EXPECT_EQ(now->title, "新闻联播");
  EXPECT_EQ(now->next_title, "焦点访谈");
  EXPECT_EQ(GuideTooltip(*now, kEvening), "正在播放：新闻联播（还剩 30 分钟）\n下一个节目：焦点访谈");

  // At the boundary the next programme is on; after the last one nothing is.
  now = guide.Find(by_id, kEvening + 1800);
  ASSERT_TRUE(now);
  EXPECT_EQ(now->title, "焦点访谈");
  EXPECT_EQ(now->next_title, "");
  EXPECT_FALSE(guide.Find(by_id, kEvening + 3600));

  // A gap: nothing on, only what comes next.
  now = guide.Find(by_id, kEvening - 7200);
  ASSERT_TRUE(now);
  EXPECT_EQ(GuideTooltip(*now, kEvening - 7200), "下一个节目：新闻联播");
}

TEST(ProgrammeGuide, MatchesByIdThenByName) {
  ProgrammeGuide guide(kEvening);
  guide.AddChannelName("cctv1.cn", "CCTV 1");
  guide.AddChannelName("hn", "湖南卫视");
  guide.AddProgramme("cctv1.cn", "20241209180000 +0800", "20241209190000 +0800", "a");
  guide.AddProgramme("hn", "20241209180000 +0800", "20241209190000 +0800", "b");
  guide.AddProgramme("Phoenix", "20241209180000 +0800", "20241209190000 +0800", "c");
  const struct {
    Channel channel;
    const char* id;
  } rows[] = {
      {Named("湖南卫视", "cctv1.cn"), "cctv1.cn"},
      {Named("x", "CCTV1.CN"), "cctv1.cn"},
      {Named("cctv1", "unknown"), "cctv1.cn"},
      {Named("x", "", "湖南 卫视"), "hn"},
      {Named("　湖南卫视 "), "hn"},
      {Named("phoenix"), "Phoenix"},
      {Named("CCTV 2"), ""},
  };
  for (const auto& row : rows) EXPECT_EQ(guide.MatchChannel(row.channel), row.id) << row.channel.name;
}

}  // namespace
}  // namespace taviro::channels
