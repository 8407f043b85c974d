#include <benchmark/benchmark.h>

#include <string>

#include "util/script_escape.h"

namespace {

// A list-page record's worth of escaped text: a Chinese title, an episode
// name and a media address, as the catalogue sends them.
std::string EscapedRecord() {
  return taviro::ScriptEscape(
      "中文电视剧 第01集 (高清版)|第01集|qvod://123456789|0123456789ABCDEF0123456789ABCDEF|"
      "中文电视剧第01集.rmvb|");
}

void BM_ScriptUnescapeRecord(benchmark::State& state) {
  const std::string record = EscapedRecord();
  for (auto _ : state) {
    benchmark::DoNotOptimize(taviro::ScriptUnescape(record));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(record.size()));
}
BENCHMARK(BM_ScriptUnescapeRecord);

void BM_ScriptEscapeTitle(benchmark::State& state) {
  const std::string title = "中文电视剧 第01集 (高清版) \U0001F600 abc";
  for (auto _ : state) {
    benchmark::DoNotOptimize(taviro::ScriptEscape(title));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(title.size()));
}
BENCHMARK(BM_ScriptEscapeTitle);

}  // namespace
