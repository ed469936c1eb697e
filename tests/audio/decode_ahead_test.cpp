// Music decoded ahead on its own thread: the mixer in real time never waits for a decoder, plays
// silence where music is late and the music once it arrives; jumps are decoded ahead.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "audio/decoder.hpp"
#include "audio/mixer.hpp"
#include "audio/streamed_source.hpp"

namespace {

constexpr uint64_t kFrames = kWholeDecodeMaxFrames + 100'000;  // long enough to be streamed

int16_t Value(uint64_t frame) {
  return static_cast<int16_t>(1 + frame % 20000);
}

// A mono decoder of known values whose reads can be held up, as a slow disk or a slow decode
// would hold them.
class GatedDecoder : public Decoder {
 public:
  struct Gate {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = true;
    void Set(bool value) {
      {
        std::lock_guard lock(mutex);
        open = value;
      }
      opened.notify_all();
    }
  };
  explicit GatedDecoder(std::shared_ptr<Gate> gate) : gate_(std::move(gate)) {
    channels_ = 1;
    statedFrames_ = kFrames;
  }
  size_t Read(int16_t* out, size_t frames) override {
    std::unique_lock lock(gate_->mutex);
    gate_->opened.wait(lock, [&] { return gate_->open; });
    size_t n = static_cast<size_t>(std::min<uint64_t>(frames, kFrames - at_));
    for (size_t i = 0; i < n; ++i) out[i] = Value(at_ + i);
    at_ += n;
    return n;
  }
  bool Seek(uint64_t frame) override {
    at_ = std::min(frame, kFrames);
    return true;
  }
  size_t MemoryBytes() const override { return 0; }

 private:
  std::shared_ptr<Gate> gate_;
  uint64_t at_ = 0;
};

struct GatedMusic {
  std::shared_ptr<GatedDecoder::Gate> gate = std::make_shared<GatedDecoder::Gate>();
  Mixer mixer;
  uint32_t handle = 0;
  GatedMusic() {
    std::string why;
    auto source = SourceFromDecoder(std::make_unique<GatedDecoder>(gate), why);
    handle = mixer.Add("music", std::move(source));
  }
  std::vector<int16_t> Mix(size_t frames) {
    std::vector<int16_t> out(frames * 2, 12345);
    mixer.Mix(out.data(), frames);
    return out;
  }
};

// Mixes until the left side of a callback shows music, at most for two seconds.
std::vector<int16_t> MixUntilMusic(GatedMusic& m, size_t frames) {
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (std::chrono::steady_clock::now() < until) {
    std::vector<int16_t> out = m.Mix(frames);
    if (out[0] != 0) return out;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return {};
}

TEST(DecodeAhead, RealTimeMixingPlaysSilenceWhileTheDecoderIsHeldAndMusicOnceItArrives) {
  GatedMusic m;
  ASSERT_NE(m.handle, 0u);
  m.mixer.SetRealTime(true);
  m.gate->Set(false);
  m.mixer.Play(m.handle, false);
  // A jump to where nothing is decoded: the decoder is held, yet every call returns at once.
  const uint64_t jump = 300'000;
  ASSERT_TRUE(m.mixer.SetPosition(m.handle, jump * 2));
  for (int i = 0; i < 20; ++i) {
    std::vector<int16_t> out = m.Mix(256);
    for (int16_t v : out) ASSERT_EQ(v, 0) << "late music is silence";
    EXPECT_EQ(m.mixer.Position(m.handle), (jump + 256 * (i + 1)) * 2) << "the stream moves on";
  }
  m.gate->Set(true);
  // The position moved on through the silence; the music decoded there arrives, in order.
  std::vector<int16_t> out = MixUntilMusic(m, 64);
  ASSERT_FALSE(out.empty()) << "the decoding thread never delivered";
  // The frames heard are those mixed kHeardLateFrames frames before.
  uint64_t first = m.mixer.Position(m.handle) / 2 - 64 - kHeardLateFrames;
  for (size_t i = 0; i < 64; ++i) {
    ASSERT_EQ(out[2 * i], Value(first + i)) << "frame " << first + i;
    ASSERT_EQ(out[2 * i + 1], Value(first + i));
  }
}

TEST(DecodeAhead, WithoutRealTimeTheMixerWaitsSoEveryFrameIsThere) {
  GatedMusic m;
  m.mixer.Play(m.handle, false);
  ASSERT_TRUE(m.mixer.SetPosition(m.handle, 500'000 * 2));
  m.gate->Set(false);
  std::thread opener([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    m.gate->Set(true);
  });
  std::vector<int16_t> out = m.Mix(kAheadFrames + 1000);  // more than the ring holds at once
  opener.join();
  for (size_t i = kHeardLateFrames; i < kAheadFrames + 1000; ++i) {
    ASSERT_EQ(out[2 * i], Value(500'000 + i - kHeardLateFrames)) << "frame " << 500'000 + i;
  }
}

TEST(DecodeAhead, RewindAndStopReturnWhileTheDecoderIsHeld) {
  GatedMusic m;
  m.mixer.SetRealTime(true);
  m.mixer.Play(m.handle, false);
  ASSERT_FALSE(MixUntilMusic(m, 512).empty());
  m.gate->Set(false);
  // Calls the game makes on the music while its decoder cannot go on.
  for (uint64_t at : {uint64_t{0}, uint64_t{600'000}, uint64_t{0}}) {
    EXPECT_TRUE(m.mixer.SetPosition(m.handle, at * 2));
    EXPECT_TRUE(m.mixer.Play(m.handle, true));
    EXPECT_EQ(m.mixer.Length(m.handle), kFrames * 2);
    EXPECT_TRUE(m.mixer.Stop(m.handle));
  }
  m.gate->Set(true);
  EXPECT_TRUE(m.mixer.Play(m.handle, true));
  std::vector<int16_t> out = MixUntilMusic(m, 32);
  ASSERT_FALSE(out.empty());
}

}  // namespace
