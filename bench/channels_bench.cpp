#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "channels/channel_list.h"
#include "channels/channel_list_page.h"
#include "channels/programme_guide.h"

namespace taviro::channels {
namespace {

// A list as IPTV providers publish them: every attribute, fifty groups.
std::string GeneratedList(int channels) {
  std::string list = "#EXTM3U x-tvg-url=\"http://guide.example/epg.xml.gz\"\n";
  for (int i = 0; i < channels; ++i) {
    const std::string n = std::to_string(i);
    list += "#EXTINF:-1 tvg-id=\"ch" + n + ".tv\" tvg-name=\"Channel " + n +
            "\" tvg-logo=\"http://logos.example/" + n + ".png\" group-title=\"Group " +
            std::to_string(i % 50) + "\",Channel " + n + " HD\n";
    if (i % 10 == 0) list += "#EXTVLCOPT:http-user-agent=Mozilla/5.0\n";
    list += "http://streams.example/live/" + n + "/index.m3u8\n";
  }
  return list;
}

void BM_ParseTenThousandChannels(benchmark::State& state) {
  const std::string text = GeneratedList(10'000);
  for (auto _ : state) benchmark::DoNotOptimize(ParseChannelList(text, "http://lists.example/a.m3u"));
}
BENCHMARK(BM_ParseTenThousandChannels)->Unit(benchmark::kMillisecond);

// About a million lines.
void BM_ParseFourHundredThousandChannels(benchmark::State& state) {
  const std::string text = GeneratedList(400'000);
  const ListLimits limits{.max_bytes = 256U << 20U, .max_channels = 1'000'000};
  for (auto _ : state) benchmark::DoNotOptimize(ParseChannelList(text, "http://lists.example/a.m3u", limits));
}
BENCHMARK(BM_ParseFourHundredThousandChannels)->Unit(benchmark::kMillisecond);

// The whole list's page with every channel's now and next looked up.
void BM_RenderTenThousandChannelPage(benchmark::State& state) {
  const ChannelList list = ParseChannelList(GeneratedList(10'000), "http://lists.example/a.m3u");
  const UnixTime now = 1733740200;
  ProgrammeGuide guide(now);
  for (int i = 0; i < 10'000; ++i) {
    const std::string id = "ch" + std::to_string(i) + ".tv";
    guide.AddProgramme(id, "20241209180000 +0800", "20241209190000 +0800", "News");
    guide.AddProgramme(id, "20241209190000 +0800", "20241209200000 +0800", "Film");
  }
  ChannelPageState page_state;
  page_state.starred_codes.insert(list.channels[5].code);
  const TooltipFor tooltip = [&](const Channel& c) {
    const auto found = guide.Find(c, now);
    return found ? GuideTooltip(*found, now) : std::string();
  };
  for (auto _ : state)
    benchmark::DoNotOptimize(RenderChannelListPage(list.channels, page_state, {}, tooltip));
}
BENCHMARK(BM_RenderTenThousandChannelPage)->Unit(benchmark::kMillisecond);

// A week of half-hour programmes for 2,000 channels, about the programmes of
// a 50 MB guide, fed as a reader passes them on; only a day is kept.
void BM_FeedAWeekOfProgrammes(benchmark::State& state) {
  std::vector<std::string> times;
  for (int slot = 0; slot <= 7 * 48; ++slot) {
    const int day = 9 + slot / 48;
    const int minutes = (slot % 48) * 30;
    char text[32];
    std::snprintf(text, sizeof text, "202412%02d%02d%02d00 +0800", day, minutes / 60, minutes % 60);
    times.emplace_back(text);
  }
  std::size_t kept = 0;
  for (auto _ : state) {
    ProgrammeGuide guide(1733740200);
    for (int channel = 0; channel < 2'000; ++channel) {
      const std::string id = "ch" + std::to_string(channel) + ".tv";
      guide.AddChannelName(id, "Channel " + std::to_string(channel));
      for (std::size_t slot = 0; slot + 1 < times.size(); ++slot) {
        guide.AddProgramme(id, times[slot], times[slot + 1], "A programme with a title of usual length");
      }
    }
    kept = guide.programme_count();
  }
  state.counters["kept"] = static_cast<double>(kept);
  state.SetItemsProcessed(state.iterations() * 2'000 * 7 * 48);
}
BENCHMARK(BM_FeedAWeekOfProgrammes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace taviro::channels
