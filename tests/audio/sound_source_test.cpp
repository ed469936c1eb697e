// Decoding of WAV variants, MP3 and speech made by independent tools, and refusal of files that
// hold no sound.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <random>

#include "audio/decoder.hpp"
#include "audio/mixer.hpp"
#include "audio/sound_source.hpp"
#include "audio/sound_test_files.hpp"
#include "base/messages.hpp"
#include "test_support.hpp"

namespace fs = std::filesystem;
using testsound::MakeSine;
using testsound::MakeSineMp3;
using testsound::SoxChannels;
using testsound::SoxFrames;

namespace {

struct Signal {
  double rms = 0;
  double mean = 0;
  double hz = 0;       // from rising zero crossings of channel 0
  int channelGap = 0;  // largest difference between channel 0 and another channel
};

// Reads the whole source through Peek, in pieces of `piece` frames, as the mixer does.
Signal Measure(SoundSource& source, size_t piece = 1000) {
  Signal s;
  int ch = source.Channels();
  double sum = 0, sumSq = 0;
  uint64_t crossings = 0, n = 0;
  bool armed = false;
  for (uint64_t at = 0; at < source.Frames();) {
    size_t count = piece;
    const int16_t* p = source.Peek(at, count);
    if (!p) break;
    for (size_t i = 0; i < count; ++i) {
      int16_t v = p[i * ch];
      sum += v;
      sumSq += double(v) * v;
      // With a margin either side of zero, so coding noise near zero adds no crossings.
      if (v < -2000) armed = true;
      if (armed && v > 2000) {
        ++crossings;
        armed = false;
      }
      for (int c = 1; c < ch; ++c)
        s.channelGap = std::max(s.channelGap, std::abs(p[i * ch + c] - v));
      ++n;
    }
    at += count;
  }
  if (n == 0) return s;
  s.rms = std::sqrt(sumSq / n);
  s.mean = sum / n;
  s.hz = crossings * 44100.0 / n;
  return s;
}

// sox's sine at "vol 0.5": peak 16384, RMS peak / sqrt(2).
constexpr double kSineRms = 16384 / 1.4142135;

struct WavVariant {
  const char* name;
  const char* format;
  int channels;
  bool deep = false;  // in a folder about 1,000 characters deep, whose names libsndfile refuses
};

class WavDecoding : public testing::TestWithParam<WavVariant> {};

TEST_P(WavDecoding, LengthIsFramesTimesChannelsTimesTwoAndTheSineSurvives) {
  const WavVariant& v = GetParam();
  TempDir dir(std::string("wav_") + v.name);
  fs::path folder = dir.path();
  for (int level = 0; v.deep && level < 10; ++level) folder /= std::string(99, 'a' + level);
  fs::create_directories(folder);
  fs::path file = folder / "sine.wav";
  ASSERT_TRUE(MakeSine(file, 0.5, 1000, v.format, 44100, v.channels));
  uint64_t frames = SoxFrames(file);
  ASSERT_GT(frames, 0u);
  ASSERT_EQ(SoxChannels(file), v.channels);

  Mixer mixer;
  uint32_t handle = mixer.Open("data\\sine.wav", file.string());
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(mixer.Length(handle), frames * v.channels * 2);
  EXPECT_EQ(mixer.Position(handle), 0u);
  EXPECT_FALSE(mixer.Streams()[0].playing);

  std::unique_ptr<SoundSource> source = OpenSoundSource(file.string());
  ASSERT_TRUE(source);
  EXPECT_FALSE(source->Streamed());
  EXPECT_EQ(source->Channels(), v.channels);
  Signal s = Measure(*source);
  // Level and shape: a wrong sample width or a signed/unsigned mix-up fails these at once.
  EXPECT_NEAR(s.rms, kSineRms, kSineRms * 0.06);
  EXPECT_NEAR(s.mean, 0, 200);
  EXPECT_NEAR(s.hz, 1000, 20);
  EXPECT_LE(s.channelGap, 1);
}

INSTANTIATE_TEST_SUITE_P(Formats, WavDecoding,
                         testing::Values(WavVariant{"u8_mono", "-b 8 -e unsigned-integer", 1},
                                         WavVariant{"s16_stereo", "-b 16 -e signed-integer", 2},
                                         WavVariant{"s16_deep", "-b 16 -e signed-integer", 2, true},
                                         WavVariant{"s24_mono", "-b 24 -e signed-integer", 1},
                                         WavVariant{"s32_stereo", "-b 32 -e signed-integer", 2},
                                         WavVariant{"float_stereo", "-b 32 -e floating-point", 2},
                                         WavVariant{"ima_adpcm_mono", "-e ima-adpcm", 1},
                                         WavVariant{"ms_adpcm_stereo", "-e ms-adpcm", 2}),
                         [](const testing::TestParamInfo<WavVariant>& info) {
                           return std::string(info.param.name);
                         });

TEST(Mp3Decoding, ShortEffectsAreDecodedWholeWithTheEncoderPaddingTrimmed) {
  TempDir dir("mp3_short");
  for (int channels : {1, 2}) {
    fs::path wav = dir / ("src" + std::to_string(channels) + ".wav");
    fs::path mp3 = dir / ("fx" + std::to_string(channels) + ".mp3");
    ASSERT_TRUE(MakeSine(wav, 1.01, 440, "-b 16", 44100, channels));
    ASSERT_TRUE(testsound::MakeMp3(wav, mp3));
    Mixer mixer;
    uint32_t handle = mixer.Open("fx.mp3", mp3.string());
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(mixer.Length(handle), SoxFrames(wav) * channels * 2) << channels << " channels";

    std::unique_ptr<SoundSource> source = OpenSoundSource(mp3.string());
    ASSERT_TRUE(source);
    EXPECT_FALSE(source->Streamed());
    Signal s = Measure(*source);
    EXPECT_NEAR(s.rms, kSineRms, kSineRms * 0.06);
    EXPECT_NEAR(s.hz, 440, 10);
  }
}

TEST(Mp3Decoding, MusicIsStreamedWithItsLengthKnownAtOpen) {
  TempDir dir("mp3_music");
  fs::path mp3 = dir / "music.mp3";
  double seconds = 15.0;
  ASSERT_TRUE(MakeSineMp3(mp3, seconds, 440, 2));
  std::unique_ptr<SoundSource> source = OpenSoundSource(mp3.string());
  ASSERT_TRUE(source);
  EXPECT_TRUE(source->Streamed());
  EXPECT_EQ(source->Channels(), 2);
  EXPECT_EQ(source->Frames(), static_cast<uint64_t>(seconds * 44100));
  // Only the decode-ahead ring (under a second) is held, not 2.6 MB of decoded audio.
  EXPECT_LT(source->MemoryBytes(), 256u * 1024);

  // Read in odd pieces across the decoder's chunk boundaries: every frame arrives once.
  Signal s = Measure(*source, 777);
  EXPECT_NEAR(s.rms, kSineRms, kSineRms * 0.06);
  EXPECT_NEAR(s.hz, 440, 5);
  // Joint stereo coding leaves the two sides of a centred tone slightly apart, not swapped or
  // shifted.
  EXPECT_LE(s.channelGap, 400);
}

TEST(Mp3Decoding, StreamedAndWholeDecodingGiveTheSameFramesAfterSeeks) {
  TempDir dir("mp3_seek");
  fs::path mp3 = dir / "music.mp3";
  ASSERT_TRUE(MakeSineMp3(mp3, 13.0, 523, 2));
  std::unique_ptr<SoundSource> streamed = OpenSoundSource(mp3.string());
  ASSERT_TRUE(streamed);
  ASSERT_TRUE(streamed->Streamed());
  // Everything read once in order is the reference.
  std::vector<int16_t> all;
  for (uint64_t at = 0; at < streamed->Frames();) {
    size_t count = 5000;
    const int16_t* p = streamed->Peek(at, count);
    ASSERT_TRUE(p) << "at " << at;
    all.insert(all.end(), p, p + count * 2);
    at += count;
  }
  ASSERT_EQ(all.size(), streamed->Frames() * 2);
  // Jumps back to the start, forward, and inside the current chunk.
  for (uint64_t at :
       {uint64_t{0}, uint64_t{300'000}, uint64_t{100}, uint64_t{300'010}, streamed->Frames() - 3}) {
    size_t count = 3;
    const int16_t* p = streamed->Peek(at, count);
    ASSERT_TRUE(p) << "at " << at;
    ASSERT_GE(count, 1u);
    EXPECT_EQ(p[0], all[at * 2]) << "at " << at;
    EXPECT_EQ(p[1], all[at * 2 + 1]) << "at " << at;
  }
  size_t count = 10;
  EXPECT_EQ(streamed->Peek(streamed->Frames(), count), nullptr);
}

TEST(SpeechDecoding, EspeakCommentsKeepTheirOwnRateAndLength) {
  TempDir dir("speech");
  fs::path wav = dir / "comment.wav";
  ASSERT_TRUE(testsound::MakeSpeech(wav, "Well done. Seven blows."));
  uint64_t frames = SoxFrames(wav);
  ASSERT_GT(frames, 10'000u);
  Mixer mixer;
  uint32_t handle = mixer.Open("comment.wav", wav.string());
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(mixer.Length(handle), frames * SoxChannels(wav) * 2);
  std::unique_ptr<SoundSource> source = OpenSoundSource(wav.string());
  ASSERT_TRUE(source);
  EXPECT_GT(Measure(*source).rms, 500);
}

// A short WAV takes no memory until it first plays; then it is read from its file, and plays the
// length found when it was opened whatever became of the file: silent where the file no longer
// delivers.
TEST(HeldSounds, AreReadWhenFirstPlayedAndKeepTheirOpenedLength) {
  TempDir dir("held");
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> change;  // what becomes of the file before the play
    double heardShare;                            // of the frames, the part that still sounds
  };
  const std::vector<Case> cases = {
      {"unchanged", [](const fs::path&) {}, 1.0},
      {"cut_to_half",
       [](const fs::path& f) { fs::resize_file(f, 44 + (fs::file_size(f) - 44) / 2); }, 0.5},
      {"removed", [](const fs::path& f) { fs::remove(f); }, 0.0},
      {"made_stereo", [](const fs::path& f) { MakeSine(f, 1.0, 1000, "-b 16", 44100, 2); }, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path wav = dir / (std::string(c.name) + ".wav");
    ASSERT_TRUE(MakeSine(wav, 1.0));
    Mixer mixer;
    const uint32_t handle = mixer.Open(c.name, wav.string());
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(mixer.MemoryBytes(), 0u) << "opened, not played";
    c.change(wav);
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(mixer.Play(handle, true));
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(mixer.Length(handle), 44100u * 2) << "the opened length";
    EXPECT_EQ(mixer.MemoryBytes(), 44100u * 2);
    EXPECT_EQ(said.find("when read again") != std::string::npos, c.heardShare < 1.0) << said;
    std::vector<int16_t> out(44100 * 2);
    mixer.Mix(out.data(), 44100);
    const auto loud = [&](size_t from, size_t to) {
      int16_t peak = 0;
      for (size_t i = 2 * from; i < 2 * to; ++i) peak = std::max<int16_t>(peak, std::abs(out[i]));
      return peak > 1000;
    };
    const auto heard = static_cast<size_t>(44100 * c.heardShare);
    if (heard > 100) EXPECT_TRUE(loud(0, heard - 100));
    if (heard < 44000) EXPECT_FALSE(loud(heard + 100, 44100));
  }
}

// Every file that holds no sound gives no source and handle 0, with one message naming it; so
// does a missing file (found in a first round of abuse: a sound that could not be opened said
// nothing at all, where a picture says so).
TEST(UnusableFiles, GiveHandleZeroAndOneMessageAndNeverCrash) {
  TempDir dir("unusable");
  fs::path good = dir / "good.wav";
  ASSERT_TRUE(MakeSine(good, 1.0, 440, "-b 16", 44100, 2));
  std::string wavBytes = ReadFile(good);
  fs::path goodMp3 = dir / "good.mp3";
  ASSERT_TRUE(testsound::MakeMp3(good, goodMp3));
  std::string mp3Bytes = ReadFile(goodMp3);

  std::mt19937 random(7);
  std::string noise(40'000, '\0');
  for (char& c : noise) c = static_cast<char>(random());

  std::vector<std::pair<std::string, std::string>> files = {
      {"empty.wav", ""},
      {"header_only.wav", wavBytes.substr(0, 30)},
      {"mp3_header_only.mp3", mp3Bytes.substr(0, 4)},
      {"noise.wav", noise},
      {"noise.mp3", "\xff\xfb\x90\x64" + noise},
      {"zeros_then_noise.mp3", std::string(500, '\0') + "\xff\xfb\x90\x64" + noise},
      {"zeros_only.mp3", std::string(3000, '\0')},
      {"zeros_past_the_scan.mp3", std::string(64 * 1024, '\0') + mp3Bytes},
      {"id3_then_noise.mp3", std::string("ID3\x04\x00\x00\x00\x00\x00\x0a", 10) + noise},
      {"riff_noise.wav", std::string("RIFF\x10\x00\x01\x00WAVEfmt ", 16) + noise.substr(0, 500)},
      {"text.mp3", "this is not a sound at all\n"},
      {"no_frames.wav", wavBytes.substr(0, 44).replace(40, 4, std::string(4, '\0'))},
  };
  fs::create_directories(dir / "folder.wav");
  Mixer mixer;
  auto expectOneMessageNaming = [](size_t before, const std::string& name) {
    ASSERT_EQ(shownMessages.size(), before + 1) << name;
    EXPECT_EQ(shownMessages.back().caption, "Sound");
    EXPECT_NE(shownMessages.back().text.find("\"" + name + "\""), std::string::npos)
        << shownMessages.back().text;
  };
  for (const auto& [name, bytes] : files) {
    WriteFile(dir / name, bytes);
    std::string why;
    EXPECT_EQ(OpenSoundSource((dir / name).string(), &why), nullptr) << name;
    EXPECT_FALSE(why.empty()) << name;
    size_t before = shownMessages.size();
    EXPECT_EQ(mixer.Open(name, (dir / name).string()), 0u) << name;
    expectOneMessageNaming(before, name);
  }
  size_t before = shownMessages.size();
  EXPECT_EQ(mixer.Open("folder.wav", (dir / "folder.wav").string()), 0u);
  expectOneMessageNaming(before, "folder.wav");

  std::string why = "untouched";
  EXPECT_EQ(OpenSoundSource((dir / "missing.wav").string(), &why), nullptr);
  EXPECT_EQ(why, "") << "the source knows no name to give";
  before = shownMessages.size();
  EXPECT_EQ(mixer.Open("missing.wav", (dir / "missing.wav").string()), 0u);
  expectOneMessageNaming(before, "missing.wav");
  before = shownMessages.size();
  EXPECT_EQ(mixer.Open("nothing.wav", ""), 0u);
  expectOneMessageNaming(before, "nothing.wav");
  before = shownMessages.size();
  EXPECT_TRUE(mixer.Streams().empty());
  // The intact originals still open, so the refusals above are about the damage.
  EXPECT_NE(mixer.Open("good.wav", good.string()), 0u);
  EXPECT_NE(mixer.Open("good.mp3", goodMp3.string()), 0u);
  EXPECT_EQ(shownMessages.size(), before);
}

// Of several files a name may mean, the first that plays is kept, and a broken one before it
// gives no message; only when none plays is there one line, giving the first file's fault.
TEST(UnusableFiles, TheFirstOfSeveralCandidatesThatPlaysIsKept) {
  TempDir dir("candidates");
  fs::path good = dir / "good.wav";
  ASSERT_TRUE(MakeSine(good, 0.5, 440, "-b 16", 44100, 2));
  fs::path broken = dir / "broken.wav";
  WriteFile(broken, "not a sound");
  std::string missing = (dir / "missing.wav").string();
  struct Case {
    const char* name;
    std::vector<std::string> files;
    bool opens;
    const char* why;  // in the message when nothing opens
  } cases[] = {
      {"broken then good", {broken.string(), good.string()}, true, ""},
      {"good then broken", {good.string(), broken.string()}, true, ""},
      {"missing then good", {missing, good.string()}, true, ""},
      {"broken only", {broken.string()}, false, "\": "},
      {"missing then broken", {missing, broken.string()}, false, "\": "},
      {"none", {}, false, "no such file"},
  };
  Mixer mixer;
  for (const Case& c : cases) {
    size_t before = shownMessages.size();
    uint32_t handle = mixer.Open(c.name, c.files);
    EXPECT_EQ(handle != 0, c.opens) << c.name;
    if (c.opens) {
      EXPECT_EQ(shownMessages.size(), before) << c.name;
      EXPECT_EQ(mixer.Length(handle), 22050u * 4) << c.name;
    } else {
      ASSERT_EQ(shownMessages.size(), before + 1) << c.name;
      EXPECT_NE(shownMessages.back().text.find(c.name), std::string::npos) << c.name;
      EXPECT_NE(shownMessages.back().text.find(c.why), std::string::npos) << c.name;
    }
  }
}

// Found by the content fault sweep: a WAV cut to half its length played the half without a
// word. It still plays, with one line naming it; a whole file, one cut only inside a chunk after
// the sound, and files that are no WAV give none.
TEST(UnusableFiles, AWavCutShortPlaysAndSaysSo) {
  TempDir dir("cut_wav");
  fs::path good = dir / "good.wav";
  ASSERT_TRUE(MakeSine(good, 0.5, 440, "-b 16", 44100, 1));
  std::string bytes = ReadFile(good);
  struct Case {
    const char* name;
    std::string bytes;
    bool cut;
  } cases[] = {
      {"whole.wav", bytes, false},
      {"half.wav", bytes.substr(0, bytes.size() / 2), true},
      {"one_byte_short.wav", bytes.substr(0, bytes.size() - 1), true},
      {"trailing_chunk_cut.wav",
       bytes + std::string("LIST\x10\x00\x00\x00"
                           "ab",
                           10),
       false},
      {"text.wav", "RIFF but no WAVE at all", false},
  };
  Mixer mixer;
  for (const Case& c : cases) {
    WriteFile(dir / c.name, c.bytes);
    EXPECT_EQ(WavEndsEarly((dir / c.name).string()), c.cut) << c.name;
  }
  size_t before = shownMessages.size();
  EXPECT_NE(mixer.Open("half.wav", (dir / "half.wav").string()), 0u) << "it still plays";
  ASSERT_EQ(shownMessages.size(), before + 1);
  EXPECT_NE(shownMessages.back().text.find("\"half.wav\""), std::string::npos);
  EXPECT_NE(mixer.Open("whole.wav", (dir / "whole.wav").string()), 0u);
  EXPECT_EQ(shownMessages.size(), before + 1);
}

// Found by the same sweep: an MP3 cut to half its length played the half without a word. A LAME
// tag announces the frame count, so a tagged file delivering fewer says so; without a tag the
// length is only known from what is there (a whole untagged file, whose size-based guess is
// larger than what it holds, must not be called cut).
TEST(UnusableFiles, AnMp3CutShortOfItsLameTagPlaysAndSaysSo) {
  TempDir dir("cut_mp3");
  fs::path wav = dir / "source.wav";
  ASSERT_TRUE(MakeSine(wav, 14.0, 440, "-b 16", 44100, 2));
  ASSERT_TRUE(testsound::MakeMp3(wav, dir / "tagged.mp3"));
  ASSERT_TRUE(testsound::MakeMp3(wav, dir / "untagged.mp3", "-b 128 --nohist -t"));
  std::string tagged = ReadFile(dir / "tagged.mp3");
  std::string untagged = ReadFile(dir / "untagged.mp3");
  struct Case {
    const char* name;
    std::string bytes;
    bool cut;
  } cases[] = {
      {"whole.mp3", tagged, false},
      {"half.mp3", tagged.substr(0, tagged.size() / 2), true},
      {"five_frames_short.mp3", tagged.substr(0, tagged.size() - 5 * 418), true},
      {"untagged_whole.mp3", untagged, false},
      {"untagged_half.mp3", untagged.substr(0, untagged.size() / 2), false},
  };
  Mixer mixer;
  for (const Case& c : cases) {
    WriteFile(dir / c.name, c.bytes);
    size_t before = shownMessages.size();
    uint32_t handle = mixer.Open(c.name, (dir / c.name).string());
    EXPECT_NE(handle, 0u) << c.name << " still plays";
    // Streamed (longer than a whole-decoded sound) and decoded whole alike.
    EXPECT_EQ(shownMessages.size(), before + (c.cut ? 1 : 0)) << c.name;
    if (c.cut && shownMessages.size() > before) {
      EXPECT_NE(shownMessages.back().text.find(std::string("\"") + c.name + "\" ends early"),
                std::string::npos)
          << shownMessages.back().text;
    }
  }
}

}  // namespace
