// cSND on the headless device: the one-shot and loop patterns the game's callers use, stop and
// rewind, volume, handle 0, and the stream list of the state dump.
#include "audio/sound.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "audio/sound_test_files.hpp"
#include "harness/state_dump.hpp"
#include "test_support.hpp"

namespace fs = std::filesystem;

namespace {

constexpr double kFrameMs = 10;
constexpr uint32_t kFramesPerStep = 441;

class SoundTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir(testsound::PerProcess("sound_wrapper"));
    // 0.1 s: ten frames of 10 ms.
    ASSERT_TRUE(testsound::MakeSine(dir_->path() / "data/sounds/fx/Hit.wav", 0.1, 1000));
    ASSERT_TRUE(testsound::MakeSine(dir_->path() / "data/sounds/fx/tone.wav", 0.5, 1000, "-b 16",
                                    44100, 2));
    // 0.2 s at half the rate: still 4410 frames, so also ten frames of 10 ms.
    ASSERT_TRUE(
        testsound::MakeSine(dir_->path() / "data/sounds/fx/slow.wav", 0.2, 500, "-b 16", 22050));
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  void SetUp() override {
    fake_ = std::make_unique<FakeBackends>(dir_->path());
    BASS_Init();
  }
  void TearDown() override {
    BASS_Free();
    fake_.reset();
  }
  // One frame as the program runs it: the device moves on by the frame's step, then the game's
  // calls of that frame.
  void Frame() { fake_->audio.Advance(kFrameMs); }

  static TempDir* dir_;
  std::unique_ptr<FakeBackends> fake_;
};
TempDir* SoundTest::dir_ = nullptr;

TEST_F(SoundTest, OpenFindsTheFileInAnyCaseAndStartsSilentAtZero) {
  SoundHandle h = 99;
  cSND::Open("DATA\\Sounds\\FX\\hit.WAV", h);
  ASSERT_NE(h, 0u);
  EXPECT_EQ(cSND::Length(h), 4410u * 2);
  EXPECT_EQ(cSND::Position(h), 0u);
  Frame();
  EXPECT_EQ(cSND::Position(h), 0u) << "opening does not start the stream";
}

TEST_F(SoundTest, OneShotPlaysOnceThenStaysAtItsEndUntilRearmed) {
  SoundHandle h = 0;
  cSND::Open("data\\sounds\\fx\\hit.wav", h);
  uint8_t playing = 0;
  cSND::SetPosition(h, 0);
  int framesHeard = 0;
  for (int frame = 0; frame < 30; ++frame) {
    Frame();
    cSND::PlayReport(h, 100, playing);
    if (playing) ++framesHeard;
  }
  // Ten 10 ms frames of sound: started in frame 0, ended by frame 10's step.
  EXPECT_EQ(framesHeard, 10);
  EXPECT_EQ(cSND::Position(h), cSND::Length(h));
  EXPECT_FALSE(fake_->audio.Streams()[0].playing);

  // Rearmed, it plays once more.
  cSND::SetPosition(h, 0);
  cSND::PlayReport(h, 100, playing);
  EXPECT_EQ(playing, 1);
  Frame();
  EXPECT_EQ(cSND::Position(h), kFramesPerStep * 2);
}

TEST_F(SoundTest, LoopRewindsTheFrameAfterTheEndAndRestartsTheFrameAfterThat) {
  SoundHandle h = 0;
  cSND::Open("data\\sounds\\fx\\hit.wav", h);
  std::vector<uint32_t> positions;
  std::vector<bool> playing;
  for (int frame = 0; frame < 26; ++frame) {
    Frame();
    cSND::Play(h, 100, true);
    positions.push_back(cSND::Position(h));
    playing.push_back(fake_->audio.Streams()[0].playing);
  }
  for (int frame = 0; frame < 10; ++frame) {
    EXPECT_EQ(positions[frame], frame * kFramesPerStep * 2u) << frame;
    EXPECT_TRUE(playing[frame]) << frame;
  }
  // Frame 10: the end is reached and the loop rewinds; frame 11 starts it again, so the step
  // of frame 11 is silent: the short gap between repetitions the game's music has always had.
  EXPECT_EQ(positions[10], 0u);
  EXPECT_FALSE(playing[10]);
  EXPECT_EQ(positions[11], 0u);
  EXPECT_TRUE(playing[11]);
  EXPECT_EQ(positions[12], kFramesPerStep * 2u);
  EXPECT_EQ(positions[21], 0u);
  EXPECT_FALSE(playing[21]);
  EXPECT_TRUE(playing[22]);
  EXPECT_EQ(positions[23], kFramesPerStep * 2u);
}

TEST_F(SoundTest, StopSilencesAndRewindsSoThatPlayStartsFromTheBeginning) {
  SoundHandle h = 0;
  cSND::Open("data\\sounds\\fx\\tone.wav", h);
  for (int frame = 0; frame < 5; ++frame) {
    Frame();
    cSND::Play(h, 100, true);
  }
  EXPECT_EQ(cSND::Position(h), 4u * kFramesPerStep * 4);
  cSND::Stop(h);
  EXPECT_EQ(cSND::Position(h), 0u);
  EXPECT_FALSE(fake_->audio.Streams()[0].playing);
  Frame();
  EXPECT_EQ(cSND::Position(h), 0u) << "a stopped stream does not move";
  cSND::Play(h, 100, true);
  EXPECT_TRUE(fake_->audio.Streams()[0].playing);
  Frame();
  EXPECT_EQ(cSND::Position(h), kFramesPerStep * 4u);
}

TEST_F(SoundTest, PlayOnAnEndedStreamWithoutLoopStaysSilentAndPlayingAgainChangesNothing) {
  SoundHandle h = 0;
  cSND::Open("data\\sounds\\fx\\hit.wav", h);
  cSND::Play(h, 100, false);
  Frame();
  cSND::Play(h, 100, false);
  cSND::Play(h, 100, false);
  EXPECT_EQ(cSND::Position(h), kFramesPerStep * 2u) << "no restart while playing";
  for (int frame = 0; frame < 20; ++frame) {
    Frame();
    cSND::Play(h, 100, false);
  }
  EXPECT_EQ(cSND::Position(h), cSND::Length(h));
  EXPECT_FALSE(fake_->audio.Streams()[0].playing);
  uint8_t playing = 1;
  cSND::PlayReport(h, 100, playing);
  EXPECT_EQ(playing, 0);
}

TEST_F(SoundTest, VolumeChangesTakeEffectOnTheNextCall) {
  SoundHandle h = 0;
  cSND::Open("data\\sounds\\fx\\tone.wav", h);
  auto peak = [&] {
    std::vector<int16_t> out(441 * 2);
    fake_->audio.mixer().Mix(out.data(), 441);
    int p = 0;
    // What this call mixed comes out after the frames mixed before it.
    for (size_t i = 2 * kHeardLateFrames; i < out.size(); ++i) {
      p = std::max(p, std::abs(int(out[i])));
    }
    return p;
  };
  cSND::Play(h, 100, true);
  EXPECT_EQ(fake_->audio.Streams()[0].volume, 100);
  int full = peak();
  EXPECT_NEAR(full, 16384, 200);
  cSND::Play(h, 25, true);
  EXPECT_EQ(fake_->audio.Streams()[0].volume, 25);
  EXPECT_NEAR(peak(), full * 0.25, 60);
  cSND::Play(h, 0, true);
  EXPECT_EQ(peak(), 0);
}

TEST_F(SoundTest, EveryStreamPlaysAt44100FramesASecondWhateverItsFileRate) {
  SoundHandle h = 0;
  cSND::Open("data\\sounds\\fx\\slow.wav", h);
  EXPECT_EQ(cSND::Length(h), 4410u * 2);
  uint8_t playing = 0;
  int framesHeard = 0;
  for (int frame = 0; frame < 30; ++frame) {
    Frame();
    cSND::PlayReport(h, 100, playing);
    framesHeard += playing;
  }
  // 0.2 s of 22050 Hz audio is over in 0.1 s.
  EXPECT_EQ(framesHeard, 10);
}

TEST_F(SoundTest, OddTimeStepsAddUpWithoutLosingFractionsOfAFrame) {
  SoundHandle h = 0;
  cSND::Open("data\\sounds\\fx\\tone.wav", h);
  cSND::Play(h, 100, false);
  // 60 steps of 1000/60 ms make exactly one second, though no single step is whole.
  for (int i = 0; i < 60; ++i) fake_->audio.Advance(1000.0 / 60);
  EXPECT_NEAR(cSND::Position(h) / 4.0, 22050, 1);  // the sound is 0.5 s long: ended
  cSND::Stop(h);
  cSND::Play(h, 100, false);
  for (int i = 0; i < 30; ++i) fake_->audio.Advance(1000.0 / 120);
  EXPECT_NEAR(cSND::Position(h) / 4.0, 11025, 1);
  fake_->audio.Advance(0);
  fake_->audio.Advance(-5);
  fake_->audio.Advance(NAN);
  EXPECT_NEAR(cSND::Position(h) / 4.0, 11025, 1) << "no step, no movement";
}

TEST_F(SoundTest, HandleZeroIsHarmlessAndReportsItselfAsEnded) {
  SoundHandle h = 42;
  cSND::Open("data\\sounds\\fx\\missing.wav", h);
  EXPECT_EQ(h, 0u);
  cSND::Open("..\\outside.wav", h);
  EXPECT_EQ(h, 0u);
  uint8_t playing = 1;
  for (int frame = 0; frame < 3; ++frame) {
    Frame();
    cSND::Play(h, 100, true);
    cSND::Play(h, 100, false);
    cSND::PlayReport(h, 30, playing);
    cSND::SetPosition(h, 1234);
    EXPECT_EQ(playing, 0);
    // The menu's click test: position equals length, so the click counts as finished.
    EXPECT_EQ(cSND::Position(h), cSND::Length(h));
    EXPECT_TRUE(cSND::Ended(h));
    cSND::Stop(h);
  }
  EXPECT_EQ(cSND::Length(h), 0u);
  EXPECT_TRUE(fake_->audio.Streams().empty());
}

TEST_F(SoundTest, TheStateDumpListsEveryOpenedStream) {
  SoundHandle a = 0, b = 0, missing = 0;
  cSND::Open("data\\SOUNDS\\fx\\hit.wav", a);
  cSND::Open("data\\sounds\\fx\\nothing.wav", missing);
  cSND::Open("data\\sounds\\fx\\tone.wav", b);
  cSND::Play(b, 70, false);
  Frame();
  nlohmann::ordered_json sounds = DumpState(0)["sounds"];
  ASSERT_EQ(sounds.size(), 2u);
  EXPECT_EQ(sounds[0]["path"], "data\\SOUNDS\\fx\\hit.wav");
  EXPECT_EQ(sounds[0]["position"], 0);
  EXPECT_EQ(sounds[0]["length"], 4410 * 2);
  EXPECT_EQ(sounds[0]["playing"], false);
  EXPECT_EQ(sounds[1]["path"], "data\\sounds\\fx\\tone.wav");
  EXPECT_EQ(sounds[1]["position"], kFramesPerStep * 4);
  EXPECT_EQ(sounds[1]["length"], 22050 * 4);
  EXPECT_EQ(sounds[1]["playing"], true);
  EXPECT_EQ(sounds[1]["volume"], 70);
}

TEST_F(SoundTest, FreeingTheLibraryForgetsEveryStream) {
  SoundHandle h = 0;
  cSND::Open("data\\sounds\\fx\\hit.wav", h);
  cSND::Play(h, 100, false);
  BASS_Free();
  EXPECT_TRUE(fake_->audio.Streams().empty());
  uint8_t playing = 1;
  cSND::PlayReport(h, 100, playing);
  EXPECT_EQ(playing, 0);
}

}  // namespace
