// Time of each cSND call the game makes while three music tracks play on a mixer driven as a
// sound card drives it (a callback of 1024 frames every 23 ms on its own thread), reported as
// percentiles: a call must never wait for decoding.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "audio/mixer_device.hpp"
#include "audio/sound.hpp"
#include "base/backends.hpp"
#include "bench_support.hpp"

namespace {

constexpr size_t kCallbackFrames = 1024;
constexpr auto kCallbackPeriod = std::chrono::microseconds(23220);

// The mixer in real time, its callback on a thread of its own.
class CallbackDevice : public MixerDevice {
 public:
  CallbackDevice() {
    mixer_.SetRealTime(true);
    thread_ = std::thread([this] {
      std::vector<int16_t> out(kCallbackFrames * 2);
      auto next = std::chrono::steady_clock::now();
      while (!stop_) {
        mixer_.Mix(out.data(), kCallbackFrames);
        next += kCallbackPeriod;
        std::this_thread::sleep_until(next);
      }
    });
  }
  ~CallbackDevice() override {
    stop_ = true;
    thread_.join();
  }
  bool Init(int) override { return true; }
  void Free() override {}
  void Advance(double) override {}

 private:
  std::atomic<bool> stop_ = false;
  std::thread thread_;
};

struct MusicFiles {
  ScratchDir dir{"morva_sound_call_bench"};
  std::vector<std::string> music;
  MusicFiles() {
    for (int i = 0; i < 3; ++i) {
      std::string wav = (dir / ("m" + std::to_string(i) + ".wav")).string();
      std::string mp3 = (dir / ("m" + std::to_string(i) + ".mp3")).string();
      Shell("sox -n -r 44100 -c 2 -b 16 " + wav + " synth 60 pluck " +
            std::to_string(220 + 55 * i) + " tremolo 3 vol 0.4");
      Shell("lame --quiet -b 160 " + wav + " " + mp3);
      music.push_back(mp3);
    }
  }
};

double Percentile(std::vector<double>& v, double p) {
  auto k = static_cast<size_t>(p * static_cast<double>(v.size() - 1));
  std::nth_element(v.begin(), v.begin() + static_cast<long>(k), v.end());
  return v[k];
}

// Every call the game makes on a music track: the loop pattern (play, position, length), volume
// changes, stops, and rewinds and jumps, which make the decoding thread start over elsewhere.
void BM_SoundCallsWhileThreeTracksPlay(benchmark::State& state) {
  static MusicFiles files;
  CallbackDevice device;
  backends.audio = &device;
  std::vector<SoundHandle> tracks;
  for (const std::string& m : files.music) {
    tracks.push_back(device.StreamCreateFile("music", {m}));
    if (tracks.back() == 0) {
      state.SkipWithError("the bench music could not be made (sox and lame needed)");
      return;
    }
    cSND::Play(tracks.back(), 60, true);
  }
  std::mt19937 random(1);
  std::vector<double> micros;
  micros.reserve(1 << 20);
  for (auto _ : state) {
    SoundHandle h = tracks[random() % tracks.size()];
    uint32_t op = random() % 100;
    auto start = std::chrono::steady_clock::now();
    if (op < 40) {
      uint8_t playing = 0;
      cSND::PlayReport(h, 60, playing);
    } else if (op < 70) {
      benchmark::DoNotOptimize(cSND::Position(h) + cSND::Length(h));
    } else if (op < 85) {
      cSND::Play(h, static_cast<uint8_t>(random() % 101), true);
    } else if (op < 95) {
      cSND::SetPosition(h, (cSND::Length(h) / 4096 * (random() % 4096)) & ~3u);
    } else {
      cSND::Stop(h);
      cSND::Play(h, 60, true);
    }
    micros.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
            .count());
    // The game makes a few dozen calls a frame, not millions a second.
    if (micros.size() % 32 == 0) std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  backends.audio = nullptr;
  state.counters["calls"] = static_cast<double>(micros.size());
  state.counters["p50_us"] = Percentile(micros, 0.5);
  state.counters["p99_us"] = Percentile(micros, 0.99);
  state.counters["p99.9_us"] = Percentile(micros, 0.999);
  state.counters["max_us"] = *std::max_element(micros.begin(), micros.end());
}

BENCHMARK(BM_SoundCallsWhileThreeTracksPlay)->Iterations(200'000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
