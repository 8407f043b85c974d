#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "library/library_titles.h"

namespace taviro::library {
namespace {

// 10,000 files in 500 series folders of 20 episodes, named in the styles
// found in people's folders, with a season folder, a film and an extra now
// and then.
std::vector<FoundFile> GeneratedLibrary() {
  std::vector<FoundFile> files;
  for (int series = 0; series < 500; ++series) {
    const std::string name = "Series " + std::to_string(series);
    for (int episode = 1; episode <= 20; ++episode) {
      const std::string number = (episode < 10 ? "0" : "") + std::to_string(episode);
      switch (series % 5) {
        case 0: files.push_back({name + "/" + name + ".S01E" + number + ".1080p.WEB-DL.x264-GRP.mkv"}); break;
        case 1: files.push_back({name + "/[Group] " + name + " - " + number + " [1080p].mkv"}); break;
        case 2:
          files.push_back({"剧集" + std::to_string(series) + "/第" + std::to_string(episode) + "集.mp4"});
          break;
        case 3:
          files.push_back({name + "/Season " + std::to_string(episode % 3 + 1) + "/" + number + ".mkv"});
          break;
        default:
          files.push_back(
              {name + " (2010)/" + (episode == 20 ? "Extras/making of" : name + " " + number) + ".mp4"});
      }
    }
  }
  return files;
}

void BM_GroupTenThousandFiles(benchmark::State& state) {
  const std::vector<FoundFile> files = GeneratedLibrary();
  for (auto _ : state) {
    benchmark::DoNotOptimize(GroupTitles(files));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
}
BENCHMARK(BM_GroupTenThousandFiles)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace taviro::library
