#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "lists/list_page.h"
#include "lists/list_text.h"
#include "lists/media_lists.h"
#include "util/ansi_text.h"
#include "util/file_io.h"
#include "util/script_escape.h"

namespace taviro {
namespace {

class NullListViews : public ListViews {
 public:
  void ShowListPage(ListFile, const std::filesystem::path&) override {}
};

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "taviro-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
      path_ = pattern;
    }
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string CatalogueTitle(int n) {
  return "中文电视连续剧第" + std::to_string(n) + "部 (高清版) 精彩大结局";
}

std::string Record(int id) {
  const std::string media = "qvod://" + std::to_string(300000000 + id) +
                            "|0123456789ABCDEF0123456789ABCDEF01234567|" + CatalogueTitle(id) +
                            "第01集.rmvb|";
  return NetworkTaskRecordLine(id, ScriptEscape(CatalogueTitle(id)), ScriptEscape("第01集"),
                               ScriptEscape(media), 0, id % 40, id * 7);
}

// A full list: 101 records, the most an add leaves.
std::string FullList() {
  std::string list;
  for (int id = 1; id <= 101; ++id) {
    list += Record(id);
    list += kCrLf;
  }
  return list;
}

void WriteFullList(const ScratchFolder& folder) {
  WriteFileAtomically(folder.path() / "date.dat", EncodeAnsi(FullList()));
}

void BM_AddNetworkTaskAndRender(benchmark::State& state) {
  ScratchFolder folder;
  WriteFullList(folder);
  NullListViews views;
  MediaLists lists(folder.path(), views);
  const std::string title = ScriptEscape(CatalogueTitle(0));
  const std::string episode = ScriptEscape("第02集");
  const std::string media = ScriptEscape("qvod://1|HASH|新片.rmvb|");
  int id = 1000;
  for (auto _ : state) {
    lists.AddNetworkTask(++id, title, episode, media, 0, 1, 0);
  }
}
BENCHMARK(BM_AddNetworkTaskAndRender)->Unit(benchmark::kMicrosecond);

void BM_UpdateNetworkTaskPosition(benchmark::State& state) {
  ScratchFolder folder;
  WriteFullList(folder);
  NullListViews views;
  MediaLists lists(folder.path(), views);
  int position = 0;
  for (auto _ : state) {
    lists.UpdateNetworkTaskPosition(50, ++position);
  }
}
BENCHMARK(BM_UpdateNetworkTaskPosition)->Unit(benchmark::kMicrosecond);

void BM_DeleteListLineAndRender(benchmark::State& state) {
  ScratchFolder folder;
  NullListViews views;
  MediaLists lists(folder.path(), views);
  const std::string full = EncodeAnsi(FullList());
  for (auto _ : state) {
    state.PauseTiming();
    WriteFileAtomically(folder.path() / "date.dat", full);
    state.ResumeTiming();
    lists.DeleteListLine(ListFile::kNetworkTasks, 50);
  }
}
BENCHMARK(BM_DeleteListLineAndRender)->Unit(benchmark::kMicrosecond);

// The same two files an add writes, written once each with nothing computed:
// the least an add with a re-render can cost.
void BM_IoFloorListAndPage(benchmark::State& state) {
  ScratchFolder folder;
  const std::string list = NetworkListAfterAdd(FullList(), Record(1000), 1000);
  const std::string list_bytes = EncodeAnsi(list);
  const std::string page_bytes = EncodeAnsi(BuildListPage(ListFile::kNetworkTasks, list));
  for (auto _ : state) {
    WriteFileAtomically(folder.path() / "date.dat", list_bytes);
    WriteFileAtomically(folder.path() / "c.htm", page_bytes);
  }
}
BENCHMARK(BM_IoFloorListAndPage)->Unit(benchmark::kMicrosecond);

// What an add computes between reading and writing, without the disk.
void BM_AddComputationOnly(benchmark::State& state) {
  const std::string old_bytes = EncodeAnsi(FullList());
  const std::string record = Record(1000);
  for (auto _ : state) {
    const std::string list = NetworkListAfterAdd(DecodeAnsi(old_bytes), record, 1000);
    benchmark::DoNotOptimize(EncodeAnsi(list));
    benchmark::DoNotOptimize(EncodeAnsi(BuildListPage(ListFile::kNetworkTasks, list)));
  }
}
BENCHMARK(BM_AddComputationOnly)->Unit(benchmark::kMicrosecond);

void BM_ListTitlesScriptEscape(benchmark::State& state) {
  std::string titles;
  for (int n = 0; n < 101; ++n) {
    titles += CatalogueTitle(n);
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(ScriptEscape(titles));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(titles.size()));
}
BENCHMARK(BM_ListTitlesScriptEscape);

void BM_ListTitlesScriptUnescape(benchmark::State& state) {
  const std::string list = FullList();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ScriptUnescape(list));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(list.size()));
}
BENCHMARK(BM_ListTitlesScriptUnescape);

}  // namespace
}  // namespace taviro
