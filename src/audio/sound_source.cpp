// Decoding of WAV and MP3 files through libsndfile (MP3 by way of mpg123).
#include "audio/sound_source.hpp"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

constexpr int kMaxChannels = 8;
// About 93 ms at 44100 Hz: small enough to keep three tracks cheap, large enough that the audio
// thread decodes only every few callbacks.
constexpr size_t kChunkFrames = 4096;
// Frames read at the very end of a streamed file to prove it is all there.
constexpr sf_count_t kTailFrames = 1152;

struct SndFileCloser {
  void operator()(SNDFILE* f) const { sf_close(f); }
};
using SndFilePtr = std::unique_ptr<SNDFILE, SndFileCloser>;

// Reads frames as floats and converts them here: libsndfile's own float-to-short path leaves
// floating-point WAVs unscaled (all but silent) unless told to normalise them to their peak.
sf_count_t ReadFrames(SNDFILE* file, int16_t* out, std::vector<float>& scratch, int channels,
                      sf_count_t frames) {
  scratch.resize(static_cast<size_t>(frames) * static_cast<size_t>(channels));
  sf_count_t got = sf_readf_float(file, scratch.data(), frames);
  if (got <= 0) return got;
  size_t samples = static_cast<size_t>(got) * static_cast<size_t>(channels);
  for (size_t i = 0; i < samples; ++i) {
    float v = std::clamp(scratch[i] * 32768.0f, -32768.0f, 32767.0f);
    out[i] = static_cast<int16_t>(std::lrint(v));
  }
  return got;
}

uint32_t Le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// libsndfile quietly shortens a WAV whose data chunk runs past the end of the file; a sound cut
// off like that is a damaged file, not a shorter sound, so it is found here from the chunk sizes.
bool WavDataCutShort(const std::string& file, uint64_t fileSize) {
  std::ifstream in(file, std::ios::binary);
  std::array<unsigned char, 12> head{};
  if (!in.read(reinterpret_cast<char*>(head.data()), head.size())) return false;
  if (std::string(head.begin(), head.begin() + 4) != "RIFF" ||
      std::string(head.begin() + 8, head.end()) != "WAVE") {
    return false;
  }
  uint64_t pos = 12;
  while (true) {
    std::array<unsigned char, 8> chunk{};
    in.seekg(static_cast<std::streamoff>(pos));
    if (!in.read(reinterpret_cast<char*>(chunk.data()), chunk.size())) return false;
    uint32_t size = Le32(chunk.data() + 4);
    if (std::string(chunk.begin(), chunk.begin() + 4) == "data") {
      // Writers that stream leave the size as 0 or all ones: nothing to compare with.
      if (size == 0 || size == 0xFFFFFFFFu) return false;
      return pos + 8 + size > fileSize;
    }
    pos += 8 + static_cast<uint64_t>(size) + (size & 1);
  }
}

class WholeSource : public SoundSource {
 public:
  WholeSource(int channels, std::vector<int16_t> samples) : samples_(std::move(samples)) {
    channels_ = channels;
    frames_ = samples_.size() / static_cast<size_t>(channels);
  }
  const int16_t* Peek(uint64_t at, size_t& count) override {
    if (at >= frames_) return nullptr;
    count = static_cast<size_t>(std::min<uint64_t>(count, frames_ - at));
    return samples_.data() + at * static_cast<uint64_t>(channels_);
  }
  size_t MemoryBytes() const override { return samples_.capacity() * sizeof(int16_t); }
  bool Streamed() const override { return false; }

 private:
  std::vector<int16_t> samples_;
};

class StreamedSource : public SoundSource {
 public:
  StreamedSource(SndFilePtr file, int channels, uint64_t frames)
      : file_(std::move(file)),
        chunk_(kChunkFrames * static_cast<size_t>(channels)),
        scratch_(kChunkFrames * static_cast<size_t>(channels)) {
    channels_ = channels;
    frames_ = frames;
    // The open check read the tail, so the decoder is not at the start.
    decoderAt_ = UINT64_MAX;
  }

  const int16_t* Peek(uint64_t at, size_t& count) override {
    if (at >= frames_) return nullptr;
    if (at < chunkStart_ || at >= chunkStart_ + chunkFrames_) {
      if (!Fill(at)) return nullptr;
    }
    size_t offset = static_cast<size_t>(at - chunkStart_);
    count = std::min(count, chunkFrames_ - offset);
    return chunk_.data() + offset * static_cast<size_t>(channels_);
  }
  size_t MemoryBytes() const override {
    return chunk_.capacity() * sizeof(int16_t) + scratch_.capacity() * sizeof(float);
  }
  bool Streamed() const override { return true; }

 private:
  bool Fill(uint64_t at) {
    chunkFrames_ = 0;
    if (at != decoderAt_) {
      if (sf_seek(file_.get(), static_cast<sf_count_t>(at), SEEK_SET) < 0) {
        decoderAt_ = UINT64_MAX;
        return false;
      }
    }
    sf_count_t got = ReadFrames(file_.get(), chunk_.data(), scratch_, channels_,
                                static_cast<sf_count_t>(kChunkFrames));
    if (got <= 0) {
      decoderAt_ = UINT64_MAX;
      return false;
    }
    chunkStart_ = at;
    chunkFrames_ = static_cast<size_t>(got);
    decoderAt_ = at + chunkFrames_;
    return true;
  }

  SndFilePtr file_;
  std::vector<int16_t> chunk_;
  std::vector<float> scratch_;
  uint64_t chunkStart_ = 0;
  size_t chunkFrames_ = 0;
  uint64_t decoderAt_ = 0;
};

std::unique_ptr<SoundSource> DecodeWhole(SNDFILE* file, int channels, uint64_t frames) {
  std::vector<int16_t> samples(frames * static_cast<uint64_t>(channels));
  std::vector<float> scratch;
  sf_count_t got =
      ReadFrames(file, samples.data(), scratch, channels, static_cast<sf_count_t>(frames));
  if (got != static_cast<sf_count_t>(frames)) return nullptr;
  return std::make_unique<WholeSource>(channels, std::move(samples));
}

// A streamed file is checked at its end: a file cut short (a partial download, a broken copy)
// announces more frames than it can deliver, and would otherwise be found out only mid-song.
bool TailReadable(SNDFILE* file, int channels, uint64_t frames) {
  sf_count_t tail = std::min<sf_count_t>(kTailFrames, static_cast<sf_count_t>(frames));
  sf_count_t from = static_cast<sf_count_t>(frames) - tail;
  if (sf_seek(file, from, SEEK_SET) != from) return false;
  std::vector<float> buffer(static_cast<size_t>(tail) * static_cast<size_t>(channels));
  return sf_readf_float(file, buffer.data(), tail) == tail;
}
}  // namespace

std::unique_ptr<SoundSource> OpenSoundSource(const std::string& file) {
  std::error_code ec;
  if (file.empty() || !std::filesystem::is_regular_file(file, ec)) return nullptr;
  uint64_t fileSize = std::filesystem::file_size(file, ec);
  if (ec || fileSize == 0) return nullptr;

  SF_INFO info{};
  SndFilePtr sf(sf_open(file.c_str(), SFM_READ, &info));
  if (!sf) return nullptr;
  if (info.channels < 1 || info.channels > kMaxChannels || info.frames <= 0) return nullptr;
  // Decoded 16-bit lengths are reported in 32 bits; longer streams are not supported.
  auto frames = static_cast<uint64_t>(info.frames);
  if (frames * static_cast<uint64_t>(info.channels) * 2 > UINT32_MAX) return nullptr;

  if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV && WavDataCutShort(file, fileSize)) {
    return nullptr;
  }
  if (frames <= kWholeDecodeMaxFrames) return DecodeWhole(sf.get(), info.channels, frames);
  if (!info.seekable || !TailReadable(sf.get(), info.channels, frames)) return nullptr;
  return std::make_unique<StreamedSource>(std::move(sf), info.channels, frames);
}
