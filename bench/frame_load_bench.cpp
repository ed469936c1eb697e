// Loading a folder of 200 compressed frames on the headless back end, beside `cat` reading the
// same bytes: the loader should cost little more than reading the files.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "app/headless_platform.hpp"
#include "base/backends.hpp"
#include "base/content_paths.hpp"
#include "formats/texture_container.hpp"
#include "gfx/frame_sequence.hpp"
#include "gfx/recorder_renderer.hpp"

namespace fs = std::filesystem;

namespace {
constexpr int kFrames = 200;
constexpr int kSide = 256;  // a character frame: 64 KB of DXT5 each

// The folder, made once per run, and warm in the page cache for both contenders.
struct FrameFolder {
  fs::path root;
  FrameFolder() {
    char name[] = "/tmp/morva_frame_bench_XXXXXX";
    root = mkdtemp(name);
    fs::path folder = root / "data" / "chars" / "guard";
    fs::create_directories(folder);
    std::mt19937 random(7);
    std::vector<uint8_t> data(static_cast<std::size_t>(kSide) * kSide);
    for (int n = 0; n < kFrames; ++n) {
      for (auto& b : data) b = static_cast<uint8_t>(random());
      std::vector<uint8_t> bytes = WriteTextureContainer(kFormatDxt5, kSide, kSide, data);
      std::ofstream(folder / (std::to_string(n) + ".dxt"), std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
    }
  }
  ~FrameFolder() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
};

FrameFolder& Folder() {
  static FrameFolder folder;
  return folder;
}

void BM_LoadFrameSequence(benchmark::State& state) {
  HeadlessPlatform platform;
  levelMapSize = LevelMapSize{4, 2};
  std::array<Texture, 513> table{};
  for (auto _ : state) {
    // A fresh resolver and renderer each time: the game loads every folder once.
    RecorderRenderer renderer;
    ContentPaths content(Folder().root);
    backends = Backends{&platform, &renderer, nullptr, &content};
    LoadFrameSequence("data\\chars\\guard\\", table, 512);
    benchmark::DoNotOptimize(table.data());
  }
  backends = Backends{};
  state.SetBytesProcessed(state.iterations() * kFrames * (16 + kSide * kSide));
}
BENCHMARK(BM_LoadFrameSequence)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CatTheSameFiles(benchmark::State& state) {
  std::string command =
      "cat " + (Folder().root / "data" / "chars" / "guard").string() + "/*.dxt > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("cat failed");
  }
  state.SetBytesProcessed(state.iterations() * kFrames * (16 + kSide * kSide));
}
BENCHMARK(BM_CatTheSameFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
}  // namespace

BENCHMARK_MAIN();
