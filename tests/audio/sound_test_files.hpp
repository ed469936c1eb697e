// Sound files for the audio tests, made at test time by independent tools (sox, lame, espeak-ng),
// and a small in-memory source with known samples.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "audio/sound_source.hpp"

namespace testsound {

inline std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// A scratch folder name of this process: the test runner starts each test in a process of its own
// and runs several at once, so folders a whole suite shares must not collide.
inline std::string PerProcess(const std::string& name) {
  return name + "_" + std::to_string(getpid());
}

inline bool Run(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// A sine of `hz` at half of full scale, written by sox with `format` (e.g. "-b 16",
// "-e ima-adpcm") at `rate` Hz with `channels` channels.
inline bool MakeSine(const std::filesystem::path& file, double seconds, int hz = 1000,
                     const std::string& format = "-b 16", int rate = 44100, int channels = 1) {
  std::filesystem::create_directories(file.parent_path());
  // No dither: the two sides of a stereo file stay equal and the zero crossings clean.
  return Run("sox -D -n -r " + std::to_string(rate) + " -c " + std::to_string(channels) + " " +
             format + " " + Quote(file.string()) + " synth " + std::to_string(seconds) + " sine " +
             std::to_string(hz) + " vol 0.5");
}

// `options` are lame's: "--nohist -t" leaves out the LAME tag, "-V 4" makes VBR.
inline bool MakeMp3(const std::filesystem::path& wav, const std::filesystem::path& mp3,
                    const std::string& options = "-b 128") {
  std::filesystem::create_directories(mp3.parent_path());
  return Run("lame --quiet " + options + " " + Quote(wav.string()) + " " + Quote(mp3.string()));
}

// A sine made by sox and encoded to MP3 by lame.
inline bool MakeSineMp3(const std::filesystem::path& mp3, double seconds, int hz = 440,
                        int channels = 2) {
  std::filesystem::path wav = mp3;
  wav.replace_extension(".source.wav");
  bool ok = MakeSine(wav, seconds, hz, "-b 16", 44100, channels) && MakeMp3(wav, mp3);
  std::filesystem::remove(wav);
  return ok;
}

inline bool MakeSpeech(const std::filesystem::path& wav, const std::string& words) {
  std::filesystem::create_directories(wav.parent_path());
  return Run("espeak-ng -w " + Quote(wav.string()) + " " + Quote(words));
}

// Sample frames and channels as sox reads the file (soxi), independently of our decoder.
inline uint64_t SoxiNumber(const std::filesystem::path& file, const char* option) {
  std::string command = std::string("soxi ") + option + " " + Quote(file.string()) + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return 0;
  unsigned long long n = 0;
  if (std::fscanf(pipe, "%llu", &n) != 1) n = 0;
  pclose(pipe);
  return n;
}
inline uint64_t SoxFrames(const std::filesystem::path& file) {
  return SoxiNumber(file, "-s");
}
inline int SoxChannels(const std::filesystem::path& file) {
  return static_cast<int>(SoxiNumber(file, "-c"));
}

// Frames LAME's own decoder makes of an MP3. It trims the encoder's delay and padding by the LAME
// tag; without a tag it drops only the 529 frames of decoder delay, which a decoder without
// gapless information plays (kUntrimmedDelay).
inline uint64_t LameDecodedFrames(const std::filesystem::path& mp3) {
  std::filesystem::path wav = mp3;
  wav.replace_extension(".lame.wav");
  if (!Run("lame --quiet --decode " + Quote(mp3.string()) + " " + Quote(wav.string()))) return 0;
  uint64_t frames = SoxFrames(wav);
  std::filesystem::remove(wav);
  return frames;
}
constexpr uint64_t kUntrimmedDelay = 529;

// Samples held whole in memory, `channels` to a frame, filled by the kinds below.
class HeldSource : public SoundSource {
 public:
  const int16_t* Peek(uint64_t at, size_t& count) override {
    if (at >= frames_) return nullptr;
    count = static_cast<size_t>(std::min<uint64_t>(count, frames_ - at));
    return samples_.data() + at * channels_;
  }
  size_t MemoryBytes() const override { return samples_.size() * 2; }
  bool Streamed() const override { return false; }

 protected:
  HeldSource(int channels, uint64_t frames) {
    channels_ = channels;
    frames_ = frames;
    samples_.reserve(frames * channels);
  }
  std::vector<int16_t> samples_;
};

// Frames with known values: frame i holds (i % 1000) * 10 + c on channel c.
class CountingSource : public HeldSource {
 public:
  CountingSource(int channels, uint64_t frames) : HeldSource(channels, frames) {
    for (uint64_t i = 0; i < frames; ++i) {
      for (int c = 0; c < channels; ++c) samples_.push_back(Value(i, c));
    }
  }
  static int16_t Value(uint64_t frame, int channel) {
    return static_cast<int16_t>((frame % 1000) * 10 + channel);
  }
};

// A constant level on every channel.
class ConstantSource : public HeldSource {
 public:
  ConstantSource(int channels, uint64_t frames, int16_t value) : HeldSource(channels, frames) {
    samples_.assign(frames * channels, value);
  }
};

// A sine of `hz` at 44100 Hz with peak `amplitude`, the same on every channel, rounded to the
// nearest step.
class SineSource : public HeldSource {
 public:
  SineSource(int channels, uint64_t frames, double hz, double amplitude)
      : HeldSource(channels, frames) {
    for (uint64_t i = 0; i < frames; ++i) {
      const double v = std::lround(amplitude * std::sin(2 * M_PI * hz * i / 44100.0));
      samples_.insert(samples_.end(), channels, static_cast<int16_t>(v));
    }
  }
};

}  // namespace testsound
