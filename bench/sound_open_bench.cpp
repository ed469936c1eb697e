// Time to open a five-minute MP3, with and without a LAME tag (the length of one without a tag is
// counted from its frame headers), and a short effect decoded whole, on the thread that opens it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "audio/sound_source.hpp"
#include "bench_support.hpp"

namespace fs = std::filesystem;

namespace {

constexpr int kMusicSeconds = 300;

// Made once per run with sox and lame.
struct BenchFiles {
  ScratchDir dir{"morva_open_bench"};
  fs::path untagged;
  fs::path tagged;
  fs::path effect;

  BenchFiles() {
    fs::path wav = dir / "music.wav";
    Shell("sox -n -r 44100 -c 2 -b 16 " + wav.string() + " synth " + std::to_string(kMusicSeconds) +
          " pluck 220 tremolo 3 vol 0.4");
    untagged = dir / "untagged.mp3";
    tagged = dir / "tagged.mp3";
    Shell("lame --quiet -b 160 --nohist -t " + wav.string() + " " + untagged.string());
    Shell("lame --quiet -b 160 " + wav.string() + " " + tagged.string());
    fs::remove(wav);
    fs::path fx = dir / "fx.wav";
    effect = dir / "fx.mp3";
    Shell("sox -n -r 44100 -c 1 -b 16 " + fx.string() + " synth 1.5 noise lowpass 900");
    Shell("lame --quiet -b 96 " + fx.string() + " " + effect.string());
  }
};

BenchFiles& Files() {
  static BenchFiles files;
  return files;
}

void Open(benchmark::State& state, const fs::path& file) {
  double cpu = 0;
  uint64_t frames = 0;
  for (auto _ : state) {
    double start = ThreadCpuSeconds();
    std::unique_ptr<SoundSource> source = OpenSoundSource(file.string());
    cpu += ThreadCpuSeconds() - start;
    if (!source) {
      state.SkipWithError("the bench file did not open (sox and lame needed)");
      return;
    }
    frames = source->Frames();
  }
  // Wall time (the benchmark's own figure) also counts other programs on the core.
  state.counters["cpu_ms"] = 1000.0 * cpu / static_cast<double>(state.iterations());
  state.counters["seconds_of_audio"] = static_cast<double>(frames) / 44100.0;
  state.counters["file_KiB"] = static_cast<double>(fs::file_size(file)) / 1024.0;
}

void BM_OpenFiveMinuteMp3WithoutTag(benchmark::State& state) {
  Open(state, Files().untagged);
}
void BM_OpenFiveMinuteMp3WithLameTag(benchmark::State& state) {
  Open(state, Files().tagged);
}
void BM_OpenShortMp3DecodedWhole(benchmark::State& state) {
  Open(state, Files().effect);
}

BENCHMARK(BM_OpenFiveMinuteMp3WithoutTag)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenFiveMinuteMp3WithLameTag)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenShortMp3DecodedWhole)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
