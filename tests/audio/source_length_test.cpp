// How a source's length follows what its decoder delivers, on decoders of files that hold fewer
// frames than they state: when opened, and when a streamed file gives out while it plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "audio/decoder.hpp"
#include "audio/mixer.hpp"
#include "audio/sound_source.hpp"
#include "audio/sound_test_files.hpp"

namespace {

using testsound::CountingSource;

// A file that states `stated` frames but holds only the first `held` (CountingSource's values).
// Seeking past what it holds fails, or with `seeksAnywhere` succeeds and then reads nothing, as
// some decoders do. `held` is shortened by a test to cut the file while it plays: the decoding
// thread reads it. A cut given as `cutWhenPlayed` happens at the first seek to the start, which
// is where playing begins after the opening reads near the end.
class ShortFile : public Decoder {
 public:
  ShortFile(int channels, uint64_t stated, uint64_t held, bool seeksAnywhere,
            uint64_t cutWhenPlayed = 0)
      : held(held), seeksAnywhere_(seeksAnywhere), cutWhenPlayed_(cutWhenPlayed) {
    channels_ = channels;
    statedFrames_ = stated;
  }
  size_t Read(int16_t* out, size_t frames) override {
    const uint64_t have = held;
    size_t n = static_cast<size_t>(std::min<uint64_t>(frames, have - std::min(at_, have)));
    for (size_t i = 0; i < n; ++i) {
      for (int c = 0; c < channels_; ++c)
        out[i * channels_ + c] = CountingSource::Value(at_ + i, c);
    }
    at_ += n;
    return n;
  }
  bool Seek(uint64_t frame) override {
    if (frame == 0 && cutWhenPlayed_ != 0) {
      held = cutWhenPlayed_;
      cutWhenPlayed_ = 0;
    }
    if (frame > held && !seeksAnywhere_) return false;
    at_ = frame;
    return true;
  }
  size_t MemoryBytes() const override { return 0; }

  std::atomic<uint64_t> held;

 private:
  bool seeksAnywhere_;
  uint64_t cutWhenPlayed_;
  uint64_t at_ = 0;
};

// Frames a source delivers from the start, checking each against the file's values.
uint64_t Deliver(SoundSource& source) {
  uint64_t at = 0;
  while (true) {
    size_t count = 1500;
    const int16_t* p = source.Peek(at, count);
    if (!p) return at;
    for (size_t i = 0; i < count; ++i) {
      for (int c = 0; c < source.Channels(); ++c) {
        EXPECT_EQ(p[i * source.Channels() + c], CountingSource::Value(at + i, c)) << at + i;
      }
    }
    at += count;
  }
}

constexpr uint64_t kLong = kWholeDecodeMaxFrames + 20'000;
// The longest stream whose length in bytes still fits in 32 bits, in mono.
constexpr uint64_t kLongestMono = UINT32_MAX / 2;

struct OpenCase {
  const char* name;
  int channels;
  uint64_t stated;
  uint64_t held;
  bool seeksAnywhere;
  uint64_t length;  // 0: refused
};

class OpenedLength : public testing::TestWithParam<OpenCase> {};

TEST_P(OpenedLength, IsWhatTheFileDelivers) {
  const OpenCase& c = GetParam();
  std::string why;
  std::unique_ptr<SoundSource> source = SourceFromDecoder(
      std::make_unique<ShortFile>(c.channels, c.stated, c.held, c.seeksAnywhere), why);
  if (c.length == 0) {
    EXPECT_FALSE(source);
    EXPECT_FALSE(why.empty()) << "a refusal says why";
    return;
  }
  ASSERT_TRUE(source) << why;
  EXPECT_EQ(source->Frames(), c.length);
  EXPECT_EQ(source->Streamed(), c.stated > kWholeDecodeMaxFrames);
  // Reading millions of frames proves nothing more; the end is checked there instead.
  if (c.length > kLong) {
    size_t count = 10;
    const int16_t* last = source->Peek(c.length - 1, count);
    ASSERT_TRUE(last);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(*last, CountingSource::Value(c.length - 1, 0));
    EXPECT_FALSE(source->Peek(c.length, count));
    return;
  }
  EXPECT_EQ(Deliver(*source), c.length);
}

INSTANTIATE_TEST_SUITE_P(
    Decoders, OpenedLength,
    testing::Values(
        OpenCase{"short_intact", 2, 1000, 1000, false, 1000},
        OpenCase{"short_cut", 2, 1000, 600, false, 600},
        OpenCase{"short_one_frame_left", 1, 1000, 1, false, 1},
        OpenCase{"short_nothing_left", 1, 1000, 0, false, 0},
        OpenCase{"longest_decoded_whole", 1, kWholeDecodeMaxFrames, kWholeDecodeMaxFrames - 7,
                 false, kWholeDecodeMaxFrames - 7},
        OpenCase{"streamed_intact", 2, kLong, kLong, false, kLong},
        OpenCase{"streamed_cut_near_the_end", 2, kLong, kLong - 100, false, kLong - 100},
        OpenCase{"streamed_cut_early_seek_fails", 2, kLong, 54'321, false, 54'321},
        OpenCase{"streamed_cut_early_seek_reads_nothing", 2, kLong, 54'321, true, 54'321},
        OpenCase{"streamed_one_frame_left", 1, kLong, 1, false, 1},
        OpenCase{"streamed_nothing_left", 1, kLong, 0, true, 0},
        OpenCase{"no_frames", 1, 0, 0, false, 0}, OpenCase{"no_channels", 0, 1000, 1000, false, 0},
        OpenCase{"eight_channels", 8, 1000, 1000, false, 1000},
        OpenCase{"nine_channels", 9, 1000, 1000, false, 0},
        OpenCase{"longest_in_32_bits", 1, kLongestMono, kLongestMono, false, kLongestMono},
        OpenCase{"one_frame_too_long", 1, kLongestMono + 1, kLongestMono + 1, false, 0}),
    [](const testing::TestParamInfo<OpenCase>& info) { return std::string(info.param.name); });

// Mixes until the stream stops, in pieces of 1000 frames.
void PlayToTheEnd(Mixer& mixer, uint32_t handle) {
  std::vector<int16_t> out(2 * 1000);
  mixer.Play(handle, false);
  for (int i = 0; i < 10'000 && mixer.Streams()[handle - 1].playing; ++i) {
    mixer.Mix(out.data(), 1000);
  }
}

// The file is cut while the game runs (replaced on disk, say): the stream ends where the decoder
// stops, and its length becomes that, so its position still reaches its length.
TEST(StreamedLength, AFileThatGivesOutWhilePlayingEndsWhereItStops) {
  auto decoder = std::make_unique<ShortFile>(2, kLong, kLong, false, 10'123);
  ShortFile* file = decoder.get();
  std::string why;
  Mixer mixer;
  uint32_t h = mixer.Add("music", SourceFromDecoder(std::move(decoder), why));
  ASSERT_NE(h, 0u) << why;
  EXPECT_EQ(mixer.Length(h), kLong * 4);

  // Met while reading on: the length is exactly where the frames stopped.
  PlayToTheEnd(mixer, h);
  EXPECT_EQ(mixer.Length(h), 10'123u * 4);
  EXPECT_EQ(mixer.Position(h), mixer.Length(h));

  // Met by a jump past the new end: the decoder cannot go there, so the sound ends at the jump.
  file->held = 5'000;
  ASSERT_TRUE(mixer.SetPosition(h, 8'000 * 4));
  PlayToTheEnd(mixer, h);
  EXPECT_EQ(mixer.Length(h), 8'000u * 4);
  EXPECT_EQ(mixer.Position(h), mixer.Length(h));
  EXPECT_FALSE(mixer.Streams()[0].playing);

  // Rewound, it plays what is there and ends there.
  mixer.SetPosition(h, 0);
  PlayToTheEnd(mixer, h);
  EXPECT_EQ(mixer.Length(h), 5'000u * 4);
  EXPECT_EQ(mixer.Position(h), mixer.Length(h));
}

}  // namespace
