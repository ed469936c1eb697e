// Mixer cost with 32 streams playing, as a share of the real time of the audio it makes, and the
// memory held after opening three music tracks and forty effects.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/mixer.hpp"
#include "bench_support.hpp"

namespace fs = std::filesystem;

namespace {

constexpr size_t kCallbackFrames = 1024;
constexpr int kMusicSeconds = 150;

// Test sounds made once per run with sox and lame: music of kMusicSeconds and short effects.
struct BenchFiles {
  ScratchDir dir{"morva_mixer_bench"};
  std::vector<fs::path> music;
  std::vector<fs::path> effects;

  BenchFiles() {
    for (int i = 0; i < 3; ++i) {
      fs::path wav = dir / ("music" + std::to_string(i) + ".wav");
      fs::path mp3 = dir / ("music" + std::to_string(i) + ".mp3");
      Shell("sox -n -r 44100 -c 2 -b 16 " + wav.string() + " synth " +
            std::to_string(kMusicSeconds) + " pluck " + std::to_string(220 + 110 * i) +
            " tremolo 3 vol 0.4");
      Shell("lame --quiet -b 160 " + wav.string() + " " + mp3.string());
      fs::remove(wav);
      music.push_back(mp3);
    }
    for (int i = 0; i < 40; ++i) {
      fs::path wav = dir / ("fx" + std::to_string(i) + ".wav");
      double seconds = 0.3 + (i % 7) * 0.25;
      Shell("sox -n -r 44100 -c " + std::to_string(1 + i % 2) + " -b 16 " + wav.string() +
            " synth " + std::to_string(seconds) + " noise lowpass " + std::to_string(800 + 50 * i) +
            " fade 0 -0 0.1");
      effects.push_back(wav);
    }
  }
};

BenchFiles& Files() {
  static BenchFiles files;
  return files;
}

// Resident set size in bytes.
size_t Resident() {
  std::ifstream statm("/proc/self/statm");
  size_t pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

// Mixes `streams` streams, looping each as the game's loop pattern would, and reports the time
// spent per second of audio produced.
void MixStreams(benchmark::State& state, int musicTracks) {
  BenchFiles& files = Files();
  Mixer mixer;
  std::vector<uint32_t> handles;
  for (int i = 0; i < musicTracks; ++i) {
    handles.push_back(mixer.Open("music", files.music[i].string()));
  }
  for (size_t i = 0; handles.size() < 32; ++i) {
    handles.push_back(mixer.Open("fx", files.effects[i % files.effects.size()].string()));
  }
  for (uint32_t h : handles) {
    if (h == 0) {
      state.SkipWithError("a bench sound could not be made (sox and lame needed)");
      return;
    }
    mixer.SetVolume(h, 60);
    mixer.Play(h, false);
  }
  std::vector<int16_t> out(kCallbackFrames * 2);
  std::chrono::duration<double> busy{0};
  double cpu = 0;
  int64_t callbacks = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    double cpuStart = ThreadCpuSeconds();
    mixer.Mix(out.data(), kCallbackFrames);
    cpu += ThreadCpuSeconds() - cpuStart;
    busy += std::chrono::steady_clock::now() - start;
    ++callbacks;
    benchmark::DoNotOptimize(out.data());
    for (uint32_t h : handles) {
      if (mixer.Position(h) == mixer.Length(h)) mixer.Play(h, true);
    }
  }
  double audioSeconds = callbacks * double(kCallbackFrames) / kMixRate;
  // CPU time is the cost; wall time also counts the moments other programs had the core.
  state.counters["core_share_pct"] = 100.0 * cpu / audioSeconds;
  state.counters["wall_share_pct"] = 100.0 * busy.count() / audioSeconds;
  state.counters["streams"] = static_cast<double>(handles.size());
}

void BM_Mix32Streams_3StreamedMp3(benchmark::State& state) {
  MixStreams(state, 3);
}
void BM_Mix32Streams_AllDecoded(benchmark::State& state) {
  MixStreams(state, 0);
}

// Opens what the game opens at its busiest: three music tracks and forty effects.
void BM_MemoryAfterOpening(benchmark::State& state) {
  BenchFiles& files = Files();
  for (auto _ : state) {
    size_t before = Resident();
    Mixer mixer;
    uint64_t decodedLength = 0;
    for (const fs::path& m : files.music) {
      uint32_t h = mixer.Open("music", m.string());
      decodedLength += mixer.Length(h);
    }
    size_t musicHeld = mixer.MemoryBytes();
    for (const fs::path& e : files.effects) mixer.Open("fx", e.string());
    size_t after = Resident();
    state.counters["held_total_KiB"] = mixer.MemoryBytes() / 1024.0;
    state.counters["held_music_KiB"] = musicHeld / 1024.0;
    state.counters["music_if_decoded_KiB"] = decodedLength / 1024.0;
    state.counters["rss_growth_KiB"] = (after > before ? after - before : 0) / 1024.0;
  }
}

// The longest the game's thread holds the lock the audio callback needs, once a frame: moving 64
// playing streams on by a frame's time (the other calls under it copy a few values).
void BM_FrameStepHoldsTheLock64Streams(benchmark::State& state) {
  Mixer mixer;
  mixer.FollowFrameClock(true);
  std::vector<uint32_t> handles;
  for (size_t i = 0; i < 64; ++i) {
    uint32_t h = mixer.Open("fx", Files().effects[i % Files().effects.size()].string());
    mixer.Play(h, false);
    handles.push_back(h);
  }
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    mixer.Skip(441);  // 10 ms
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    for (uint32_t h : handles) {
      if (mixer.Position(h) == mixer.Length(h)) mixer.Play(h, true);
    }
  }
}

BENCHMARK(BM_Mix32Streams_3StreamedMp3)->MinTime(2.0);
BENCHMARK(BM_FrameStepHoldsTheLock64Streams)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Mix32Streams_AllDecoded)->MinTime(2.0);
BENCHMARK(BM_MemoryAfterOpening)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
