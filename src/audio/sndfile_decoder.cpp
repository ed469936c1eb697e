// Decoding of WAV (and the other formats libsndfile reads) through libsndfile.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/decoder.hpp"

namespace {

struct SndFileCloser {
  void operator()(SNDFILE* f) const { sf_close(f); }
};
using SndFilePtr = std::unique_ptr<SNDFILE, SndFileCloser>;

class SndFileDecoder : public Decoder {
 public:
  SndFileDecoder(SndFilePtr file, int channels, uint64_t frames, bool shorts)
      : file_(std::move(file)), shorts_(shorts) {
    channels_ = channels;
    statedFrames_ = frames;
  }

  // 16-bit files are read as they are stored. Others are read as floats and converted here:
  // libsndfile's own float-to-short path leaves floating-point WAVs unscaled (all but silent)
  // unless told to normalise them to their peak.
  size_t Read(int16_t* out, size_t frames) override {
    if (shorts_) {
      sf_count_t got = sf_readf_short(file_.get(), out, static_cast<sf_count_t>(frames));
      return got <= 0 ? 0 : static_cast<size_t>(got);
    }
    scratch_.resize(frames * static_cast<size_t>(channels_));
    sf_count_t got = sf_readf_float(file_.get(), scratch_.data(), static_cast<sf_count_t>(frames));
    if (got <= 0) return 0;
    size_t samples = static_cast<size_t>(got) * static_cast<size_t>(channels_);
    for (size_t i = 0; i < samples; ++i) {
      float v = std::clamp(scratch_[i] * 32768.0f, -32768.0f, 32767.0f);
      out[i] = static_cast<int16_t>(std::lrint(v));
    }
    return static_cast<size_t>(got);
  }

  bool Seek(uint64_t frame) override {
    auto to = static_cast<sf_count_t>(frame);
    return sf_seek(file_.get(), to, SEEK_SET) == to;
  }

  size_t MemoryBytes() const override { return scratch_.capacity() * sizeof(float); }

 private:
  SndFilePtr file_;
  bool shorts_;
  std::vector<float> scratch_;
};

}  // namespace

std::unique_ptr<Decoder> OpenSndFileDecoder(const std::string& file, std::string& why) {
  SF_INFO info{};
  SndFilePtr sf(sf_open(file.c_str(), SFM_READ, &info));
  if (!sf) {
    why = std::string("not a sound file the game can read (") + sf_strerror(nullptr) + ")";
    return nullptr;
  }
  // libsndfile only estimates an MP3's length from its size; those go to the MP3 decoder.
  if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG) {
    sf.reset();
    return OpenMp3Decoder(file, why);
  }
  if (!info.seekable) {
    why = "cannot be read at any position";
    return nullptr;
  }
  if (info.frames <= 0) {
    why = "holds no audio frames";
    return nullptr;
  }
  const bool shorts = (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16;
  return std::make_unique<SndFileDecoder>(std::move(sf), info.channels,
                                          static_cast<uint64_t>(info.frames), shorts);
}
