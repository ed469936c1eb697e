// The sound card path: cSND over SDL's audio output, written to a file by SDL's "disk" driver and
// checked sample by sample; and the silent fallback when no device opens.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <optional>
#include <thread>

#include "audio/sound.hpp"
#include "audio/sound_test_files.hpp"
#include "base/backends.hpp"
#include "platform/sdl_audio.hpp"
#include "test_support.hpp"

#include <SDL.h>

namespace fs = std::filesystem;

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// Runs frames of 10 ms, as the game does, until the sound has ended for the game; then gives
// the device a moment to play out what it holds.
bool WaitForEnd(AudioDevice& audio, SoundHandle h) {
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (cSND::Position(h) != cSND::Length(h)) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    audio.Advance(10);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  return true;
}

struct Burst {
  size_t first = 0;  // frame index
  size_t frames = 0;
  int peak = 0;
  double hz = 0;
  bool sidesEqual = true;
};

// The 16-bit samples SDL's disk driver wrote.
std::vector<int16_t> ReadSamples(const fs::path& raw) {
  std::string bytes = ReadFile(raw);
  std::vector<int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

// Splits the output into stretches of sound separated by at least 8 frames of exact silence (a
// sine this loud never has two zero samples in a row).
std::vector<Burst> FindBursts(const std::vector<int16_t>& stereo) {
  std::vector<Burst> bursts;
  size_t frames = stereo.size() / 2;
  size_t i = 0;
  while (i < frames) {
    while (i < frames && stereo[2 * i] == 0 && stereo[2 * i + 1] == 0) ++i;
    if (i == frames) break;
    Burst b;
    b.first = i;
    size_t last = i, quiet = 0, crossings = 0;
    bool armed = false;
    for (; i < frames && quiet < 8; ++i) {
      int16_t l = stereo[2 * i], r = stereo[2 * i + 1];
      if (l == 0 && r == 0) {
        ++quiet;
        continue;
      }
      quiet = 0;
      last = i;
      b.peak = std::max(b.peak, std::abs(int(l)));
      b.sidesEqual &= l == r;
      if (l < -1000) armed = true;
      if (armed && l > 1000) {
        ++crossings;
        armed = false;
      }
    }
    b.frames = last - b.first + 1;
    b.hz = crossings * 44100.0 / b.frames;
    bursts.push_back(b);
  }
  return bursts;
}

TEST(AudioOutput, TheDiskDriverReceivesTheMixAtTheRightPitchAndLevel) {
  TempDir dir("audio_output_disk");
  fs::path raw = dir / "out.raw";
  ScopedEnv driver("SDL_AUDIODRIVER", "disk");
  ScopedEnv file("SDL_DISKAUDIOFILE", raw.string());
  // 0.5 s of a 1000 Hz sine at half of full scale, mono. Its length is no multiple of any
  // device buffer size, so the end of the first playing leaves a silent tail in its buffer that
  // separates it from the second.
  ASSERT_TRUE(testsound::MakeSine(dir / "data/sine.wav", 0.5, 1000));
  uint64_t sineFrames = testsound::SoxFrames(dir / "data/sine.wav");

  FakeBackends fake(dir.path());
  SdlAudio sdl;
  backends.audio = &sdl;
  BASS_Init();
  ASSERT_TRUE(sdl.IsOpen()) << sdl.Error();
  SoundHandle h = 0;
  cSND::Open("data\\sine.wav", h);
  ASSERT_NE(h, 0u);
  EXPECT_EQ(cSND::Length(h), sineFrames * 2);

  cSND::Play(h, 100, false);
  ASSERT_TRUE(WaitForEnd(sdl, h));
  cSND::SetPosition(h, 0);
  cSND::Play(h, 50, false);
  ASSERT_TRUE(WaitForEnd(sdl, h));
  // A little silence after, then the device is closed and the file complete.
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  BASS_Free();
  sdl.Close();

  std::vector<int16_t> samples = ReadSamples(raw);
  ASSERT_GT(samples.size() * 2, sineFrames * 2 * 4);
  std::vector<Burst> bursts = FindBursts(samples);
  ASSERT_EQ(bursts.size(), 2u);
  for (const Burst& b : bursts) {
    // The sine's first frame is 0, so a burst starts one frame in.
    EXPECT_NEAR(double(b.frames), double(sineFrames), 2.0);
    EXPECT_NEAR(b.hz, 1000, 10);
    EXPECT_TRUE(b.sidesEqual) << "mono is heard on both sides alike";
  }
  EXPECT_NEAR(bursts[0].peak, 16384, 170);
  EXPECT_NEAR(bursts[1].peak, 8192, 90);
}

TEST(AudioOutput, FreeSilencesTheOutputAtOnce) {
  TempDir dir("audio_output_free");
  fs::path raw = dir / "out.raw";
  ScopedEnv driver("SDL_AUDIODRIVER", "disk");
  ScopedEnv file("SDL_DISKAUDIOFILE", raw.string());
  ASSERT_TRUE(testsound::MakeSine(dir / "data/sine.wav", 2.0, 1000));
  FakeBackends fake(dir.path());
  SdlAudio sdl;
  backends.audio = &sdl;
  BASS_Init();
  ASSERT_TRUE(sdl.IsOpen()) << sdl.Error();
  SoundHandle h = 0;
  cSND::Open("data\\sine.wav", h);
  ASSERT_NE(h, 0u);
  auto start = std::chrono::steady_clock::now();
  cSND::Play(h, 100, false);
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  // What the game reads moves only with its frames, never with the device.
  EXPECT_EQ(cSND::Position(h), 0u);
  sdl.Advance(10);
  EXPECT_EQ(cSND::Position(h), 441u * 2);
  BASS_Free();
  // At most what the device could play until then, and a callback that may finish meanwhile.
  size_t heardFrames = static_cast<size_t>(
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() * 44100);
  EXPECT_TRUE(sdl.IsOpen()) << "the device stays open, silent";
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  sdl.Close();
  EXPECT_FALSE(sdl.IsOpen());

  std::vector<int16_t> samples = ReadSamples(raw);
  std::vector<Burst> bursts = FindBursts(samples);
  ASSERT_EQ(bursts.size(), 1u);
  EXPECT_GT(bursts[0].frames, 4410u) << "it played while the game ran no frames";
  EXPECT_LE(bursts[0].frames, heardFrames + 1024 + 2) << "at most the callback running then";
  EXPECT_GT(samples.size() / 2, bursts[0].first + bursts[0].frames + 1024)
      << "the device went on, silent";
}

TEST(AudioOutput, ADeviceStillOpenWhenItsOwnerGoesIsLeftOverUntilClosed) {
  ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  ASSERT_EQ(SdlAudio::LeftOver(), SdlAudio::Left::Nothing);
  {
    SdlAudio sdl;
    ASSERT_TRUE(sdl.Init(44100)) << sdl.Error();
  }
  EXPECT_EQ(SdlAudio::LeftOver(), SdlAudio::Left::OpenDevice);
  EXPECT_NE(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  SdlAudio::CloseLeftOvers();
  EXPECT_EQ(SdlAudio::LeftOver(), SdlAudio::Left::Nothing);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);

  // Still being opened, or just opened: either way it is left over, and closing waits for it.
  {
    SdlAudio sdl;
    sdl.OpenInBackground(44100);
  }
  EXPECT_NE(SdlAudio::LeftOver(), SdlAudio::Left::Nothing);
  SdlAudio::CloseLeftOvers();
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);

  // Closed by its owner, or never opened: nothing is left.
  {
    SdlAudio sdl;
    ASSERT_TRUE(sdl.Init(44100)) << sdl.Error();
    sdl.Close();
  }
  EXPECT_EQ(SdlAudio::LeftOver(), SdlAudio::Left::Nothing);
  {
    ScopedEnv none("SDL_AUDIODRIVER", "no-such-driver");
    SdlAudio sdl;
    EXPECT_FALSE(sdl.Init(44100));
  }
  EXPECT_EQ(SdlAudio::LeftOver(), SdlAudio::Left::Nothing);
}

TEST(AudioOutput, WithoutADeviceInitSaysWhyAndEverythingStaysHarmless) {
  ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
  SdlAudio sdl;
  EXPECT_FALSE(sdl.Init(44100));
  EXPECT_FALSE(sdl.IsOpen());
  EXPECT_FALSE(sdl.Error().empty());
  EXPECT_EQ(sdl.StreamCreateFile("x", {"/nonexistent.wav"}), 0u);
  const ChannelProgress played = sdl.ChannelPlayOn(1, 100, false);
  EXPECT_EQ(played.position, 0u);
  EXPECT_EQ(played.length, 0u);
  sdl.Free();
}

TEST(AudioOutput, TheGameRunsSilentWhenNoSoundDeviceOpens) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
  TempDir dir("audio_output_fallback");
  ASSERT_TRUE(testsound::MakeSineMp3(dir / "content/data/sounds/music/intro.mp3", 1.0));
  ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
  RunResult run = RunGame({"--windowed", "--frames", "6", "--frame-ms", "10", "--root", "content",
                           "--config", "config.dat", "--dump-state", "state.json"},
                          dir.path());
  ASSERT_EQ(run.status, 0) << run.output;
  size_t said = run.output.find("no sound device");
  ASSERT_NE(said, std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("no sound device", said + 1), std::string::npos) << "said once";
  // The stand-in device keeps time with the frames, so the music's position still moves on.
  nlohmann::json state = nlohmann::json::parse(ReadFile(dir / "state.json"));
  EXPECT_EQ(state["sounds"][0]["playing"], true);
  EXPECT_EQ(state["sounds"][0]["position"], 5 * 441 * 4);
}

}  // namespace
