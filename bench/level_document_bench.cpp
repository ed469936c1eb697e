// The level editor's document on the largest levels (100 screens, 25 x 4 and 10 x 10, one grid
// character per 10 px): opening, one painted cell (an edit is checked by parsing the whole
// level again), the text a save writes and the placement checks.
// usage: build/bench/level_document_bench
#include <benchmark/benchmark.h>

#include <string>

#include "editing/level_checks.hpp"
#include "editing/level_document.hpp"

namespace {

std::string LargeLevel(int width, int height) {
  return FormatLevelSource(LevelDocument::New(width, height, 10).Source());
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({25, 4})->Args({10, 10})->Unit(benchmark::kMillisecond);
}

void BM_OpenLargest(benchmark::State& state) {
  const std::string text =
      LargeLevel(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) benchmark::DoNotOptimize(LevelDocument::Open(text).document);
  state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_OpenLargest)->Apply(Sizes);

void BM_PaintOneCellLargest(benchmark::State& state) {
  LevelDocument doc = *LevelDocument::Open(LargeLevel(static_cast<int>(state.range(0)),
                                                      static_cast<int>(state.range(1))))
                           .document;
  bool stone = false;
  for (auto _ : state) {
    stone = !stone;
    doc.Paint(5, 5, 5, 5, stone ? '#' : '.');
  }
}
BENCHMARK(BM_PaintOneCellLargest)->Apply(Sizes);

void BM_SaveTextLargest(benchmark::State& state) {
  const LevelDocument doc = *LevelDocument::Open(LargeLevel(static_cast<int>(state.range(0)),
                                                            static_cast<int>(state.range(1))))
                                 .document;
  for (auto _ : state) benchmark::DoNotOptimize(doc.Text());
}
BENCHMARK(BM_SaveTextLargest)->Apply(Sizes);

void BM_CheckLevelLargest(benchmark::State& state) {
  const LevelDocument doc = *LevelDocument::Open(LargeLevel(static_cast<int>(state.range(0)),
                                                            static_cast<int>(state.range(1))))
                                 .document;
  const KindBodies bodies = {
      {{-14, -46, 14, 56}, {-22, -22, 22, 24}, {-15, -48, 15, 56}, {-34, -84, 34, 108}}};
  for (auto _ : state) benchmark::DoNotOptimize(CheckLevel(doc.Source(), doc.Lines(), bodies));
}
BENCHMARK(BM_CheckLevelLargest)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
