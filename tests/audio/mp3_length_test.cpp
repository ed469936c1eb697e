// MP3 files of the common kinds made by LAME, with and without its tag: each opens with the length
// it delivers and a sound played once ends exactly there; cut files end where they are cut.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "audio/mixer.hpp"
#include "audio/mixer_device.hpp"
#include "audio/sound.hpp"
#include "audio/sound_source.hpp"
#include "audio/sound_test_files.hpp"
#include "base/backends.hpp"
#include "test_support.hpp"

namespace fs = std::filesystem;
using testsound::kUntrimmedDelay;

namespace {

constexpr uint64_t kStepFrames = 441;  // one 10 ms frame at the mixing rate
// sox's sine at "vol 0.5": peak 16384, RMS peak / sqrt(2).
constexpr double kSineRms = 16384 / 1.4142135;

// A sound card stand-in: each frame's step is mixed, so the streams are decoded as they play.
class MixingAudio : public MixerDevice {
 public:
  bool Init(int /*frequency*/) override { return true; }
  void Free() override { Clear(); }
  void Advance(double /*ms*/) override {
    out_.resize(kStepFrames * 2);
    mixer_.Mix(out_.data(), kStepFrames);
  }

 private:
  std::vector<int16_t> out_;
};

struct Delivered {
  uint64_t frames = 0;
  double rms = 0;
  std::vector<int16_t> samples;
};

// Everything the source gives from the start, read in odd pieces as the mixer would.
Delivered ReadToTheEnd(SoundSource& source) {
  Delivered d;
  size_t channels = static_cast<size_t>(source.Channels());
  double sumSq = 0;
  while (true) {
    size_t count = 777;
    const int16_t* p = source.Peek(d.frames, count);
    if (!p) break;
    for (size_t i = 0; i < count * channels; ++i) sumSq += double(p[i]) * p[i];
    d.samples.insert(d.samples.end(), p, p + count * channels);
    d.frames += count;
  }
  if (d.frames > 0) d.rms = std::sqrt(sumSq / static_cast<double>(d.samples.size()));
  return d;
}

struct Mp3Kind {
  std::string name;
  std::string lame;  // encoder options
  bool tagged;
  int rate;
  int channels;
  double seconds;
  size_t zeros = 0;  // bytes of zero padding some tools write before the first frame
};

std::string Khz(int rate) {
  switch (rate) {
    case 22050:
      return "22.05";
    case 44100:
      return "44.1";
    default:
      return std::to_string(rate / 1000);
  }
}

std::vector<Mp3Kind> Kinds() {
  std::vector<Mp3Kind> kinds;
  for (bool tagged : {false, true}) {
    for (bool vbr : {false, true}) {
      for (int rate : {22050, 32000, 44100, 48000}) {
        for (int channels : {1, 2}) {
          std::string name = std::string(tagged ? "tag" : "notag") + (vbr ? "_vbr_" : "_cbr_") +
                             std::to_string(rate) + (channels == 1 ? "_mono" : "_stereo");
          std::string lame = std::string(vbr ? "-V 4" : "-b 96") + " --resample " + Khz(rate) +
                             (tagged ? "" : " --nohist -t");
          kinds.push_back({name, lame, tagged, rate, channels, 1.3});
        }
      }
    }
  }
  // ID3 tags of players' files before or after the frames,
  kinds.push_back({"notag_id3v2_44100_stereo",
                   "-b 128 --nohist -t --tt Song --ta Band --add-id3v2 --pad-id3v2", false, 44100,
                   2, 1.3});
  kinds.push_back({"tag_id3v1_44100_mono", "-b 64 --tt Song --id3v1-only", true, 44100, 1, 1.3});
  // the lower MPEG-2 and MPEG-2.5 rates, music long enough to be streamed, and free format (a bit
  // rate outside the standard table).
  kinds.push_back(
      {"notag_cbr_16000_mono", "-b 32 --resample 16 --nohist -t", false, 16000, 1, 1.3});
  kinds.push_back(
      {"notag_vbr_24000_stereo", "-V 4 --resample 24 --nohist -t", false, 24000, 2, 1.3});
  kinds.push_back(
      {"notag_cbr_11025_mono", "-b 24 --resample 11.025 --nohist -t", false, 11025, 1, 1.3});
  kinds.push_back({"notag_cbr_44100_stereo_streamed", "-b 128 --nohist -t", false, 44100, 2, 13});
  kinds.push_back(
      {"notag_vbr_48000_mono_streamed", "-V 2 --resample 48 --nohist -t", false, 48000, 1, 13});
  kinds.push_back({"tag_vbr_48000_stereo_streamed", "-V 4 --resample 48", true, 48000, 2, 13});
  kinds.push_back(
      {"notag_free_44100_stereo", "--freeformat -b 200 --nohist -t", false, 44100, 2, 1.3});
  kinds.push_back({"notag_free_32000_mono_streamed",
                   "--freeformat -b 100 --resample 32 --nohist -t", false, 32000, 1, 17});
  // Zero padding before the first frame: a little, and nearly as much as is looked through.
  kinds.push_back(
      {"notag_cbr_44100_stereo_zero_padded", "-b 128 --nohist -t", false, 44100, 2, 1.3, 1001});
  kinds.push_back({"tag_vbr_22050_mono_zero_padded", "-V 4 --resample 22.05", true, 22050, 1, 1.3,
                   64 * 1024 - 1});
  kinds.push_back({"notag_vbr_48000_stereo_streamed_zero_padded", "-V 2 --resample 48 --nohist -t",
                   false, 48000, 2, 13, 4096});
  return kinds;
}

class Mp3Kinds : public testing::TestWithParam<Mp3Kind> {};

TEST_P(Mp3Kinds, OpenWithTheLengthTheyDeliverAndAOneShotEndsExactlyThere) {
  const Mp3Kind& k = GetParam();
  TempDir dir("mp3_kind_" + k.name);
  fs::path wav = dir / "source.wav";
  fs::path mp3 = dir / "data/sounds/fx/sound.mp3";
  ASSERT_TRUE(testsound::MakeSine(wav, k.seconds, 440, "-b 16", k.rate, k.channels));
  ASSERT_TRUE(testsound::MakeMp3(wav, mp3, k.lame));
  uint64_t expected = testsound::LameDecodedFrames(mp3) + (k.tagged ? 0 : kUntrimmedDelay);
  ASSERT_GT(expected, kUntrimmedDelay);
  // Padded after LAME has counted the frames, so the count does not depend on its reading it.
  if (k.zeros > 0) WriteFile(mp3, std::string(k.zeros, '\0') + ReadFile(mp3));
  if (k.tagged) EXPECT_EQ(expected, testsound::SoxFrames(wav)) << "the tag trims to the source";

  std::string why;
  std::unique_ptr<SoundSource> source = OpenSoundSource(mp3.string(), &why);
  ASSERT_TRUE(source) << why;
  EXPECT_EQ(source->Channels(), k.channels);
  EXPECT_EQ(source->Frames(), expected);
  EXPECT_EQ(source->Streamed(), expected > kWholeDecodeMaxFrames);
  Delivered d = ReadToTheEnd(*source);
  EXPECT_EQ(d.frames, expected) << "the length is what the decoder delivers";
  EXPECT_NEAR(d.rms, kSineRms, kSineRms * 0.15) << "the sine came through";

  // Played once through the wrapper on a device that decodes as it plays.
  FakeBackends fake(dir.path());
  MixingAudio card;
  backends.audio = &card;
  SoundHandle h = 0;
  cSND::Open("data\\sounds\\fx\\sound.mp3", h);
  ASSERT_NE(h, 0u);
  const uint64_t length = expected * static_cast<uint64_t>(k.channels) * 2;
  EXPECT_EQ(cSND::Length(h), length);
  cSND::SetPosition(h, 0);
  uint8_t playing = 0;
  uint64_t steps = 0;
  const uint64_t stepLimit = expected / kStepFrames + 10;
  for (cSND::PlayReport(h, 100, playing); playing && steps < stepLimit;
       cSND::PlayReport(h, 100, playing)) {
    ASSERT_LT(cSND::Position(h), length) << "playing is reported only before the end";
    card.Advance(10);
    ++steps;
  }
  EXPECT_EQ(playing, 0);
  EXPECT_EQ(cSND::Position(h), length);
  EXPECT_EQ(steps, (expected + kStepFrames - 1) / kStepFrames);
  EXPECT_FALSE(card.Streams()[0].playing);
}

INSTANTIATE_TEST_SUITE_P(Lame, Mp3Kinds, testing::ValuesIn(Kinds()),
                         [](const testing::TestParamInfo<Mp3Kind>& info) {
                           return info.param.name;
                         });

// Only a file that begins with zeros is searched for a frame after them: a WAV whose sound bytes
// are those of a padded MP3, sync bytes and all, is the WAV its header says.
TEST(Mp3Recognition, AWavHoldingThePaddedBytesOfAnMp3StaysAWav) {
  TempDir dir("wav_of_mp3_bytes");
  fs::path mp3 = dir / "sound.mp3";
  ASSERT_TRUE(testsound::MakeSineMp3(mp3, 0.5));
  std::string bytes = std::string(1000, '\0') + ReadFile(mp3);
  bytes.resize(bytes.size() / 4 * 4);
  WriteFile(dir / "sound.raw", bytes);
  // sox writes the header, so the WAV does not depend on our idea of one.
  fs::path wav = dir / "sound.wav";
  ASSERT_TRUE(testsound::Run("sox -t raw -r 44100 -e signed -b 16 -c 2 " +
                             testsound::Quote((dir / "sound.raw").string()) + " " +
                             testsound::Quote(wav.string())));
  std::unique_ptr<SoundSource> source = OpenSoundSource(wav.string());
  ASSERT_TRUE(source);
  EXPECT_EQ(source->Frames(), bytes.size() / 4);
  Delivered d = ReadToTheEnd(*source);
  ASSERT_EQ(d.samples.size() * 2, bytes.size());
  EXPECT_EQ(std::memcmp(d.samples.data(), bytes.data(), bytes.size()), 0);
}

struct CutCase {
  std::string name;
  std::string lame;  // empty: a WAV
  bool tagged;
  double seconds;
  bool streamed;
};

class CutFiles : public testing::TestWithParam<CutCase> {};

// Two thirds of the file and a few bytes into the next MPEG frame or WAV frame are kept.
TEST_P(CutFiles, PlayToWhereTheyAreCutAndEndThere) {
  const CutCase& c = GetParam();
  TempDir dir("cut_" + c.name);
  fs::path intact = dir / "intact.wav";
  ASSERT_TRUE(testsound::MakeSine(intact, c.seconds, 440, "-b 16", 44100, 2));
  if (!c.lame.empty()) {
    fs::path mp3 = dir / "intact.mp3";
    ASSERT_TRUE(testsound::MakeMp3(intact, mp3, c.lame));
    intact = mp3;
  }
  std::string bytes = ReadFile(intact);
  fs::path cut = dir / ("cut" + intact.extension().string());
  const double kept = 2.0 / 3;
  WriteFile(cut, bytes.substr(0, static_cast<size_t>(bytes.size() * kept) + 77));

  std::unique_ptr<SoundSource> whole = OpenSoundSource(intact.string());
  std::string why;
  std::unique_ptr<SoundSource> source = OpenSoundSource(cut.string(), &why);
  ASSERT_TRUE(whole);
  ASSERT_TRUE(source) << why;
  EXPECT_EQ(source->Streamed(), c.streamed);
  EXPECT_NEAR(double(source->Frames()) / double(whole->Frames()), kept, 0.02);
  Delivered d = ReadToTheEnd(*source);
  EXPECT_EQ(d.frames, source->Frames());
  // What is left is the start of the intact sound. (A cut file's LAME tag no longer matches it,
  // so the decoder plays it without trimming: it is compared by its level.)
  if (!c.tagged) {
    Delivered full = ReadToTheEnd(*whole);
    ASSERT_LE(d.samples.size(), full.samples.size());
    EXPECT_TRUE(std::equal(d.samples.begin(), d.samples.end(), full.samples.begin()));
  } else {
    EXPECT_NEAR(d.rms, kSineRms, kSineRms * 0.06);
  }

  Mixer mixer;
  uint32_t h = mixer.Open("cut", cut.string());
  ASSERT_NE(h, 0u);
  EXPECT_EQ(mixer.Length(h), source->Frames() * 4);
  mixer.Play(h, false);
  std::vector<int16_t> out(2 * 1000);
  uint64_t mixes = 0;
  while (mixer.Streams()[0].playing && mixes < source->Frames()) {
    mixer.Mix(out.data(), 1000);
    ++mixes;
  }
  EXPECT_EQ(mixer.Position(h), mixer.Length(h));
  EXPECT_EQ(mixes, (source->Frames() + 999) / 1000);
}

INSTANTIATE_TEST_SUITE_P(
    Cut, CutFiles,
    testing::Values(CutCase{"mp3_untagged", "-b 128 --nohist -t", false, 6, false},
                    CutCase{"mp3_tagged", "-b 128", true, 6, false},
                    CutCase{"mp3_untagged_vbr_streamed", "-V 4 --nohist -t", false, 21, true},
                    CutCase{"mp3_tagged_streamed", "-b 128", true, 21, true},
                    CutCase{"wav", "", false, 6, false},
                    CutCase{"wav_streamed", "", false, 21, true}),
    [](const testing::TestParamInfo<CutCase>& info) { return info.param.name; });

}  // namespace
