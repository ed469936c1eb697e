// The mixer: levels, channel layout, clipping, exact stream ends, positions in bytes, and use from
// two threads at once.
#include "audio/mixer.hpp"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>

#include <atomic>
#include <thread>

#include "audio/sound_test_files.hpp"
#include "base/messages.hpp"
#include "test_support.hpp"

using testsound::ConstantSource;
using testsound::CountingSource;
using testsound::SineSource;

namespace {

std::vector<int16_t> MixFrames(Mixer& mixer, size_t frames) {
  std::vector<int16_t> out(frames * 2, 12345);  // anything left unwritten would show
  mixer.Mix(out.data(), frames);
  return out;
}

// Every frame is heard this many frames after it is mixed.
constexpr size_t kLate = kHeardLateFrames;

TEST(MixerLevels, MonoGoesToBothSidesScaledLinearlyByVolume) {
  Mixer mixer;
  uint32_t h = mixer.Add("count", std::make_unique<CountingSource>(1, 5000));
  mixer.SetVolume(h, 100);
  mixer.Play(h, false);
  std::vector<int16_t> full = MixFrames(mixer, 600);
  for (size_t i = kLate; i < 600; ++i) {
    ASSERT_EQ(full[2 * i], CountingSource::Value(i - kLate, 0)) << i;
    ASSERT_EQ(full[2 * i + 1], CountingSource::Value(i - kLate, 0)) << i;
  }
  // The new volume applies from the next mix on, where the stream left off.
  mixer.SetVolume(h, 50);
  std::vector<int16_t> half = MixFrames(mixer, 600);
  for (size_t i = kLate; i < 600; ++i) {
    ASSERT_NEAR(half[2 * i], CountingSource::Value(600 + i - kLate, 0) * 0.5, 0.5) << i;
  }
  mixer.SetVolume(h, 0);
  std::vector<int16_t> silent = MixFrames(mixer, 600);
  for (size_t i = 2 * kLate; i < silent.size(); ++i) ASSERT_EQ(silent[i], 0);
  // Silence still takes its time: the stream moved on by all three mixes.
  EXPECT_EQ(mixer.Position(h), 1800u * 2);
}

TEST(MixerLevels, VolumesBeyondZeroToHundredAreHeldAtTheEnds) {
  struct Case {
    int volume;
    int heldAt;
  } cases[] = {{200, 100}, {101, 100}, {100, 100}, {0, 0}, {-1, 0}, {-50, 0}};
  for (const Case& c : cases) {
    Mixer mixer;
    uint32_t h = mixer.Add("count", std::make_unique<CountingSource>(1, 5000));
    ASSERT_TRUE(mixer.SetVolume(h, c.volume));
    EXPECT_EQ(mixer.Streams()[0].volume, c.heldAt) << c.volume;
    mixer.Play(h, false);
    std::vector<int16_t> out = MixFrames(mixer, 600);
    for (size_t i = kLate; i < 600; ++i) {
      ASSERT_NEAR(out[2 * i], CountingSource::Value(i - kLate, 0) * c.heldAt / 100.0, 0.5)
          << "volume " << c.volume << ", frame " << i;
    }
  }
}

TEST(MixerLevels, StereoKeepsItsSidesAndStreamsAddUpBelowFullScale) {
  Mixer mixer;
  uint32_t a = mixer.Add("count", std::make_unique<CountingSource>(2, 4000));
  uint32_t b = mixer.Add("loud", std::make_unique<ConstantSource>(1, 4000, 30000));
  uint32_t c = mixer.Add("loud too", std::make_unique<ConstantSource>(2, 4000, -30000));
  mixer.Play(a, false);
  std::vector<int16_t> out = MixFrames(mixer, 100);
  for (size_t i = kLate; i < 100; ++i) {
    ASSERT_EQ(out[2 * i], CountingSource::Value(i - kLate, 0));
    ASSERT_EQ(out[2 * i + 1], CountingSource::Value(i - kLate, 1));
  }
  mixer.Stop(a);
  mixer.Play(b, false);
  mixer.SetVolume(b, 100);
  std::vector<int16_t> two = MixFrames(mixer, kLate + 10);
  EXPECT_EQ(two[2 * kLate], 30000);
  // Two loud streams would sum past full scale: the limiter keeps them below it (louder than
  // one alone), neither clipped nor wrapped round, on either side of zero.
  uint32_t b2 = mixer.Add("loud again", std::make_unique<ConstantSource>(1, 4000, 30000));
  mixer.Play(b2, false);
  int16_t limited = MixFrames(mixer, kLate + 10)[2 * (kLate + 9)];
  EXPECT_LT(limited, 32767);
  EXPECT_GT(limited, 30000);
  mixer.Stop(b);
  mixer.Stop(b2);
  uint32_t c2 = mixer.Add("loud too again", std::make_unique<ConstantSource>(1, 4000, -30000));
  mixer.Play(c, false);
  mixer.Play(c2, false);
  limited = MixFrames(mixer, kLate + 10)[2 * (kLate + 9) + 1];
  EXPECT_GT(limited, -32767);
  EXPECT_LT(limited, -30000);
  // Once the loud moment is past, a sound below full scale is heard as it is again.
  mixer.Stop(c);
  mixer.Stop(c2);
  MixFrames(mixer, 44100);
  mixer.Play(b, true);
  EXPECT_EQ(MixFrames(mixer, kLate + 1)[2 * kLate], 30000);
}

// Two full-scale 1 kHz sines in step sum to 6 dB over full scale. The limiter brings them below
// it with their peaks still round: no sample at full scale, no flat top, and hardly any
// distortion once the gain has come down, at about the level of the ceiling.
TEST(MixerLevels, ASineSixDecibelsOverFullScaleStaysRoundBelowFullScale) {
  Mixer mixer;
  for (int i = 0; i < 2; ++i) {
    mixer.Play(mixer.Add("sine", std::make_unique<SineSource>(2, 44100, 1000, 32767)), false);
  }
  std::vector<int16_t> out;
  for (int piece = 0; piece < 40; ++piece) {  // in the sound card's pieces
    std::vector<int16_t> more = MixFrames(mixer, 1000);
    out.insert(out.end(), more.begin(), more.end());
  }
  std::vector<double> left;
  int peak = 0;
  for (size_t i = 0; i < out.size(); i += 2) {
    left.push_back(out[i]);
    peak = std::max({peak, std::abs(int{out[i]}), std::abs(int{out[i + 1]})});
  }
  EXPECT_LT(peak, 32767) << "no sample at full scale";
  // Equal neighbours near the peak are a flattened top: a 1 kHz sine moves about 1 % of its
  // peak from one frame to the next even there.
  size_t run = 1, longest = 1;
  for (size_t i = 1; i < left.size(); ++i) {
    run = left[i] == left[i - 1] && std::abs(left[i]) >= 0.99 * peak ? run + 1 : 1;
    longest = std::max(longest, run);
  }
  EXPECT_LT(longest, 3u);
  // From 50 ms on, over a whole number of cycles: the part of the power not at 1 kHz.
  const size_t from = 2205, count = 441 * 80;
  double re = 0, im = 0, total = 0;
  for (size_t i = from; i < from + count; ++i) {
    const double phase = 2 * M_PI * 1000.0 * static_cast<double>(i) / 44100.0;
    re += left[i] * std::cos(phase);
    im += left[i] * std::sin(phase);
    total += left[i] * left[i];
  }
  const double fundamental = 2 * (re * re + im * im) / static_cast<double>(count);
  EXPECT_LT(std::sqrt((total - fundamental) / fundamental), 0.01) << "distortion";
  const double amplitude = std::sqrt(2 * fundamental / static_cast<double>(count));
  EXPECT_GT(amplitude, 29000) << "limited to the ceiling, not far below it";
}

// Below full scale the limiter changes nothing: what comes out is the sum, sample for sample,
// only kHeardLateFrames frames later, in pieces of any size; also a sine just under full scale.
TEST(MixerLevels, AMixBelowFullScaleComesOutExactlyOnlyLater) {
  auto sine = [] { return std::make_unique<SineSource>(2, 3000, 440, 22000); };
  auto counting = [] { return std::make_unique<CountingSource>(2, 3000); };
  auto high = [] { return std::make_unique<SineSource>(1, 3000, 3000, 32766); };
  std::unique_ptr<SoundSource> sources[] = {sine(), counting(), high()};
  auto sample = [&](int source, uint64_t frame, int channel) {
    size_t one = 1;
    const int16_t* p = sources[source]->Peek(frame, one);
    return p[channel % sources[source]->Channels()];
  };
  Mixer mixer;
  mixer.Play(mixer.Add("sine", sine()), false);
  mixer.Play(mixer.Add("count", counting()), false);
  uint32_t last = mixer.Add("high", high());
  std::vector<int16_t> out;
  for (size_t piece : {size_t{1}, size_t{255}, size_t{1024}, size_t{1720}, size_t{2000},
                       1179 + kHeardLateFrames}) {
    if (out.size() == 2 * 3000) mixer.Play(last, false);  // the first two have ended
    std::vector<int16_t> more = MixFrames(mixer, piece);
    out.insert(out.end(), more.begin(), more.end());
  }
  ASSERT_EQ(out.size(), 2 * (6179 + kHeardLateFrames));
  for (size_t i = 0; i < out.size() / 2; ++i) {
    for (int c = 0; c < 2; ++c) {
      int expected = 0;
      const uint64_t mixed = i - kHeardLateFrames;  // the frame heard now
      if (i < kHeardLateFrames || mixed >= 6000) {
        expected = 0;
      } else if (mixed < 3000) {
        expected = sample(0, mixed, c) + sample(1, mixed, c);
      } else {
        expected = sample(2, mixed - 3000, c);
      }
      ASSERT_EQ(out[2 * i + c], expected) << "frame " << i << ", channel " << c;
    }
  }
}

TEST(MixerStreams, AStreamStopsExactlyAtItsLengthAndStaysThere) {
  Mixer mixer;
  uint32_t h = mixer.Add("short", std::make_unique<ConstantSource>(2, 1500, 1000));
  ASSERT_EQ(mixer.Length(h), 1500u * 4);
  mixer.Play(h, false);
  MixFrames(mixer, 1024);
  std::vector<int16_t> out = MixFrames(mixer, 1024);
  for (size_t i = 0; i < 1024; ++i) {
    int16_t expected = i < 476 + kLate ? 1000 : 0;
    ASSERT_EQ(out[2 * i], expected) << i;
  }
  EXPECT_EQ(mixer.Position(h), mixer.Length(h));
  EXPECT_FALSE(mixer.Streams()[0].playing);
  // Playing an ended stream without restart leaves it silent at its end.
  mixer.Play(h, false);
  EXPECT_FALSE(mixer.Streams()[0].playing);
  for (int16_t v : MixFrames(mixer, 256)) ASSERT_EQ(v, 0);
  EXPECT_EQ(mixer.Position(h), mixer.Length(h));
  EXPECT_TRUE(mixer.Progress(h).AtEnd());
  mixer.Play(h, true);
  EXPECT_EQ(mixer.Position(h), 0u);
  EXPECT_EQ(MixFrames(mixer, kLate + 1)[2 * kLate], 1000);
  EXPECT_FALSE(mixer.Progress(h).AtEnd());
  EXPECT_TRUE(mixer.Progress(h + 1).AtEnd()) << "no such stream: position and length 0";
}

// With a sound card the game reads the frame clock's positions, whatever the device has played:
// the device plays on past the game's end, or stays silent once it got to the end first.
TEST(MixerStreams, FollowingTheFrameClockTheGameReadsItsOwnTime) {
  Mixer mixer;
  mixer.FollowFrameClock(true);
  uint32_t h = mixer.Add("count", std::make_unique<CountingSource>(1, 1000));
  mixer.Play(h, false);
  EXPECT_EQ(MixFrames(mixer, 300)[2 * 299], CountingSource::Value(299 - kLate, 0));
  EXPECT_EQ(mixer.Position(h), 0u) << "the device's progress is not the game's";
  mixer.Skip(999);
  EXPECT_EQ(mixer.Position(h), 999u * 2);
  mixer.Skip(1);
  EXPECT_TRUE(mixer.Progress(h).AtEnd());
  EXPECT_FALSE(mixer.Streams()[0].playing);
  EXPECT_EQ(MixFrames(mixer, 1)[0], CountingSource::Value(300 - kLate, 0)) << "the device plays on";
  // A rewind puts both at the start; a device that got to the end first stays silent there.
  mixer.SetPosition(h, 0);
  mixer.Play(h, false);
  MixFrames(mixer, 1000);
  mixer.Play(h, false);
  EXPECT_EQ(MixFrames(mixer, kLate + 1)[2 * kLate], 0);
  EXPECT_EQ(mixer.Position(h), 0u);
}

TEST(MixerStreams, PlayingAgainChangesNothingAndStopKeepsThePlace) {
  Mixer mixer;
  uint32_t h = mixer.Add("count", std::make_unique<CountingSource>(1, 10000));
  mixer.Play(h, false);
  MixFrames(mixer, 300);
  mixer.Play(h, false);
  EXPECT_EQ(mixer.Position(h), 600u);
  EXPECT_EQ(MixFrames(mixer, kLate + 1)[2 * kLate], CountingSource::Value(300, 0));
  mixer.Stop(h);
  std::vector<int16_t> stopped = MixFrames(mixer, kLate + 100);
  for (size_t i = 2 * kLate; i < stopped.size(); ++i) ASSERT_EQ(stopped[i], 0);
  EXPECT_EQ(mixer.Position(h), 600u + 2 * (kLate + 1));
  mixer.Play(h, false);
  EXPECT_EQ(MixFrames(mixer, kLate + 1)[2 * kLate], CountingSource::Value(301 + kLate, 0));
}

TEST(MixerStreams, PositionsAreWholeFramesInBytesAndCannotPassTheEnd) {
  Mixer mixer;
  uint32_t h = mixer.Add("stereo", std::make_unique<CountingSource>(2, 1000));
  EXPECT_TRUE(mixer.SetPosition(h, 7));  // inside frame 1 of 4 bytes each
  EXPECT_EQ(mixer.Position(h), 4u);
  EXPECT_FALSE(mixer.SetPosition(h, 4004));
  EXPECT_EQ(mixer.Position(h), 4u);
  mixer.Play(h, false);
  EXPECT_TRUE(mixer.SetPosition(h, 4000));
  EXPECT_FALSE(mixer.Streams()[0].playing);
  EXPECT_TRUE(mixer.SetPosition(h, 0));
  mixer.Play(h, false);
  mixer.Skip(250);
  EXPECT_EQ(mixer.Position(h), 1000u);
  mixer.Skip(1'000'000);
  EXPECT_EQ(mixer.Position(h), 4000u);
  EXPECT_FALSE(mixer.Streams()[0].playing);
}

TEST(MixerStreams, UnknownHandlesAreHarmless) {
  Mixer mixer;
  uint32_t h = mixer.Add("one", std::make_unique<ConstantSource>(1, 100, 5));
  for (uint32_t bad : {0u, h + 1, 0xFFFFFFFFu}) {
    EXPECT_FALSE(mixer.Play(bad, true));
    EXPECT_FALSE(mixer.Stop(bad));
    EXPECT_FALSE(mixer.SetPosition(bad, 0));
    EXPECT_FALSE(mixer.SetVolume(bad, 50));
    EXPECT_EQ(mixer.Position(bad), 0u);
    EXPECT_EQ(mixer.Length(bad), 0u);
  }
  mixer.Clear();
  EXPECT_FALSE(mixer.Play(h, false));
  EXPECT_EQ(mixer.Length(h), 0u);
  EXPECT_TRUE(mixer.Streams().empty());
  for (int16_t v : MixFrames(mixer, 64)) ASSERT_EQ(v, 0);
}

TEST(MixerStreams, StreamedMusicMixesTheFramesItDecodesAlsoAfterARewind) {
  TempDir dir("mixer_streamed");
  std::filesystem::path mp3 = dir / "music.mp3";
  ASSERT_TRUE(testsound::MakeSineMp3(mp3, 13.0, 330, 1));
  std::unique_ptr<SoundSource> reference = OpenSoundSource(mp3.string());
  ASSERT_TRUE(reference);
  Mixer mixer;
  uint32_t h = mixer.Open("music", mp3.string());
  ASSERT_NE(h, 0u);
  ASSERT_TRUE(mixer.MemoryBytes() < 256u * 1024);
  auto expectFrames = [&](uint64_t from, size_t frames) {
    std::vector<int16_t> out = MixFrames(mixer, frames);
    for (size_t i = kLate; i < frames; ++i) {
      size_t one = 1;
      const int16_t* p = reference->Peek(from + i - kLate, one);
      ASSERT_TRUE(p);
      // libmpg123 may round the first frames after a seek one step differently depending on
      // where its decoder came from, which the decoding thread's timing decides; a frame out of
      // place would be far more than that off.
      ASSERT_NEAR(out[2 * i], *p, 1) << "frame " << from + i - kLate;
    }
  };
  mixer.Play(h, false);
  for (uint64_t at = 0; at < 44100 * 2; at += 1024) expectFrames(at, 1024);
  mixer.SetPosition(h, 0);
  expectFrames(0, 3000);
  mixer.SetPosition(h, 400'000 * 2);
  expectFrames(400'000, 5000);
}

// Files decoded ahead open as they would have opened anyway, in the order asked, with the same
// messages; a file not in the batch, or asked for a second time, is decoded as before.
TEST(MixerStreams, PrefetchedFilesOpenAsTheyWouldAndSayTheSame) {
  TempDir dir("mixer_prefetch");
  ASSERT_TRUE(testsound::MakeSine(dir / "a.wav", 0.5, 440));
  ASSERT_TRUE(testsound::MakeSine(dir / "c.wav", 0.25, 880));
  WriteFile(dir / "b.wav", "RIFF, but nothing a sound is made of");
  const std::vector<std::string> files = {(dir / "a.wav").string(), (dir / "b.wav").string(),
                                          (dir / "c.wav").string(), (dir / "gone.wav").string()};
  // Asked for last first, the opener decodes files the thread has not reached itself.
  auto openAll = [&](bool ahead, bool lastFirst) {
    shownMessages.clear();
    Mixer mixer;
    if (ahead) mixer.Prefetch({files[0], files[1], files[2], files[3], files[0]});
    std::vector<std::string> order = files;
    if (lastFirst) std::reverse(order.begin(), order.end());
    std::vector<uint64_t> lengths;
    for (const std::string& file : order) lengths.push_back(mixer.Length(mixer.Open(file, file)));
    lengths.push_back(mixer.Length(mixer.Open("again", files[0])));  // taken already: decoded
    std::vector<std::string> said;
    for (const ShownMessage& m : shownMessages) said.push_back(m.text);
    return std::pair{lengths, said};
  };
  const auto plain = openAll(false, false);
  const auto ahead = openAll(true, false);
  EXPECT_EQ(ahead.first, plain.first);
  EXPECT_EQ(ahead.second, plain.second);
  EXPECT_EQ(openAll(true, true), openAll(false, true));
  EXPECT_EQ(plain.first[0], plain.first[4]);
  EXPECT_EQ(plain.first[1], 0u);
  EXPECT_EQ(plain.second.size(), 2u) << "the broken file and the missing one, each once";
}

// The game thread works on the table while the audio thread mixes; nothing tears or crashes, and
// every position stays within its stream.
TEST(MixerThreads, GameAndAudioThreadsShareTheStreams) {
  Mixer mixer;
  std::vector<uint32_t> handles;
  for (int i = 0; i < 8; ++i) {
    handles.push_back(mixer.Add("s", std::make_unique<CountingSource>(1 + i % 2, 3000 + i)));
  }
  std::atomic<bool> done{false};
  std::thread audio([&] {
    std::vector<int16_t> out(512 * 2);
    while (!done) mixer.Mix(out.data(), 512);
  });
  for (int round = 0; round < 20000; ++round) {
    uint32_t h = handles[round % handles.size()];
    switch (round % 5) {
      case 0:
        mixer.Play(h, round % 3 == 0);
        break;
      case 1:
        mixer.SetVolume(h, round % 101);
        break;
      case 2:
        mixer.SetPosition(h, mixer.Length(h) / 2);
        break;
      case 3:
        mixer.Stop(h);
        break;
      default:
        if (round % 2000 == 4)
          handles.push_back(mixer.Add("new", std::make_unique<CountingSource>(2, 500)));
        break;
    }
    ASSERT_LE(mixer.Position(h), mixer.Length(h));
  }
  done = true;
  audio.join();
  for (const StreamInfo& s : mixer.Streams()) EXPECT_LE(s.position, s.length);
}

}  // namespace
