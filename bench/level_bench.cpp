// The level on the headless back ends: the whole level load of the demo content beside reading
// the same files, the map parse beside a plain read, and one RunLevel frame with 256 units.
// usage: build/bench/level_bench [--benchmark_filter=...]   (MORVA_ROOT: content, default
// build/content)
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "app/game_state.hpp"
#include "app/headless_platform.hpp"
#include "audio/headless_audio.hpp"
#include "base/backends.hpp"
#include "base/content_paths.hpp"
#include "bench_support.hpp"
#include "content/characters.hpp"
#include "content/level_load.hpp"
#include "formats/level_map_file.hpp"
#include "game/level.hpp"
#include "gfx/recorder_renderer.hpp"

namespace fs = std::filesystem;

namespace {

struct Headless {
  HeadlessPlatform platform;
  RecorderRenderer renderer;
  HeadlessAudio audio;
  ContentPaths content{ContentRoot()};
  Headless() {
    ResetGameState();
    backends = Backends{&platform, &renderer, &audio, &content};
    gameState.morva.frameTime = 10;
    gameState.morva.timeScale = 1000;
  }
  ~Headless() { backends = Backends{}; }
};

// Everything the level load reads: the level folder, characters, effects, items, HUD and the
// units' sounds.
std::vector<fs::path> LevelFiles() {
  std::vector<fs::path> files;
  const fs::path data = ContentRoot() / "data";
  for (const char* folder : {"levels", "chars", "fx", "items", "hud", "sounds/units",
                             "sounds/coments", "sounds/items", "sounds/fx"}) {
    if (!fs::exists(data / folder)) continue;
    for (const auto& e : fs::recursive_directory_iterator(data / folder)) {
      if (e.is_regular_file()) files.push_back(e.path());
    }
  }
  return files;
}

// Pictures give their headers only: their data is read when they are first drawn (headless,
// never).
void BM_LevelLoad(benchmark::State& state) {
  for (auto _ : state) {
    // Setting up the back ends (with content paths that have read nothing yet) and letting the
    // level go again are no part of its load.
    state.PauseTiming();
    auto headless = std::make_unique<Headless>();
    state.ResumeTiming();
    LoadLevel();
    benchmark::DoNotOptimize(gameState.map.CharCount);
    state.PauseTiming();
    headless.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LevelLoad)->Unit(benchmark::kMillisecond);

// What `cat` of the same files costs: every byte read once.
void BM_CatLevelFiles(benchmark::State& state) {
  std::vector<fs::path> files = LevelFiles();
  std::vector<char> buffer(1 << 16);
  int64_t bytes = 0;
  for (auto _ : state) {
    for (const fs::path& f : files) {
      std::ifstream in(f, std::ios::binary);
      while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount()) {
        bytes += in.gcount();
      }
    }
  }
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_CatLevelFiles)->Unit(benchmark::kMillisecond);

// A 25 x 16 map: 1,920,000 cells, about 7.7 MB.
const std::string& LargestMap() {
  static const std::string bytes = [] {
    LevelMapFile map;
    map.Resize(25, 16);
    for (int cx = 0; cx < map.Columns(); ++cx) map.SetCell(cx, map.Rows() - 1, 1);
    map.CharType = {0};
    map.CharActivation = {0};
    map.CharPos = {{100, 100}};
    std::vector<uint8_t> encoded = EncodeLevelMap(map);
    return std::string(encoded.begin(), encoded.end());
  }();
  return bytes;
}

void BM_ParseLargestMap(benchmark::State& state) {
  const std::string& bytes = LargestMap();
  for (auto _ : state) {
    std::istringstream in(bytes);
    LevelMapRead read = ReadLevelMap(in);
    benchmark::DoNotOptimize(read.map.Cells.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ParseLargestMap)->Unit(benchmark::kMillisecond);

// The same bytes copied out of a stream, with nothing parsed.
void BM_ReadLargestMap(benchmark::State& state) {
  const std::string& bytes = LargestMap();
  std::vector<char> out(bytes.size());
  for (auto _ : state) {
    std::istringstream in(bytes);
    in.read(out.data(), static_cast<std::streamsize>(out.size()));
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadLargestMap)->Unit(benchmark::kMillisecond);

// 256 units, every one awake and inside the processing window, on a solid floor: the player and
// 255 of the demo's enemies of the kinds in turn.
void BM_RunLevel256Units(benchmark::State& state) {
  Headless headless;
  LoadLevel();
  FrameSets frames;
  LevelMap& map = gameState.map;
  map.CharCount = 256;
  for (int k = 0; k < 256; ++k) {
    map.CharType[k] = static_cast<uint8_t>(k == 0 ? 0 : 1 + (k % 3));
    map.CharActivation[k] = 0;
    map.CharPos[k] = {1000 + (k % 64) * 8, 600};
  }
  CreateUnits(frames);
  RestartLevel(CurrentLevelFrame());
  for (auto _ : state) {
    headless.renderer.BeginFrame(0, 800, 0, 600);
    RunLevel(CurrentSceneFrame());
  }
}
BENCHMARK(BM_RunLevel256Units)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
