// Speed of the text store over a generated version the size of a whole Bible.
// Run: build/bench/core_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <memory>

#include "core/bibleunit.h"
#include "core/tinfofile.h"
#include "core/tlargestringlist.h"
#include "core/verselist.h"
#include "tests/support/testversion.h"

namespace {

struct TLargeVersion {
  TLargeVersion() {
    DataRoot = Dir.Path();
    WriteSampleVersion(Dir.Path(), 4, LargeSample());
    Bible = std::make_unique<TBible>(4);
    Psalm = Bible->BookPosition[22];
  }
  TTempDir Dir;
  std::unique_ptr<TBible> Bible;
  int Psalm = 0;
};

TLargeVersion& Version() {
  static TLargeVersion version;
  return version;
}

void BM_ReadChapter176(benchmark::State& state) {
  auto& v = Version();
  const int first = VerseNumber(*v.Bible, v.Psalm, 1, 1);
  const int verses = v.Bible->ChapterVerses(v.Psalm, 1);
  for (auto _ : state) {
    size_t bytes = 0;
    for (int n = first; n < first + verses; ++n) bytes += ReadVerse(*v.Bible, n).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["verses"] = verses;
}
BENCHMARK(BM_ReadChapter176)->Unit(benchmark::kMicrosecond);

void BM_FindLine(benchmark::State& state) {
  auto& v = Version();
  TLargeStringList2 list(v.Bible.get());
  const int32_t count = list.GetCount();
  std::vector<std::string> probes;
  for (int32_t i = 0; i < count; i += count / 64) probes.push_back(list.GetWord(i));
  TInfoFile pair(v.Bible->DataPath + "WordPoint.bin", v.Bible->DataPath + "WordList.txt");
  size_t k = 0;
  for (auto _ : state) benchmark::DoNotOptimize(pair.FindLine(probes[k++ % probes.size()]));
  state.counters["words"] = count;
}
BENCHMARK(BM_FindLine)->Unit(benchmark::kMicrosecond);

void BM_LoadAndIntersectTwoFrequentWords(benchmark::State& state) {
  auto& v = Version();
  TLargeStringList2 list(v.Bible.get());
  const int32_t the = list.IndexOf("the"), lord = list.IndexOf("lord");
  for (auto _ : state) {
    VerseList a = LoadWordVerses(*v.Bible, the);
    VerseList b = LoadWordVerses(*v.Bible, lord);
    benchmark::DoNotOptimize(IntersectVerseLists(a, b).Count());
  }
}
BENCHMARK(BM_LoadAndIntersectTwoFrequentWords)->Unit(benchmark::kMicrosecond);

void BM_FilterByBookSet5000(benchmark::State& state) {
  auto& v = Version();
  std::vector<uint16_t> verses;
  for (int n = 1; n <= v.Bible->VerseCount && verses.size() < 5000; n += 6)
    verses.push_back(uint16_t(n));
  TBookSet set{};
  for (size_t s = 0; s < set.size(); s += 2) set[s] = 1;
  for (auto _ : state) {
    VerseList list = VerseList::FromVector(verses);
    FilterByBookSet(*v.Bible, list, set);
    benchmark::DoNotOptimize(list.Count());
  }
}
BENCHMARK(BM_FilterByBookSet5000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
