// Decoding of WAV (and the other formats libsndfile reads) through libsndfile.
#include <fcntl.h>
#include <sndfile.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/decoder.hpp"

namespace {

struct SndFileCloser {
  void operator()(SNDFILE* f) const { sf_close(f); }
};
using SndFilePtr = std::unique_ptr<SNDFILE, SndFileCloser>;

class SndFileDecoder : public Decoder {
 public:
  SndFileDecoder(SndFilePtr file, int channels, uint64_t frames, bool shorts, bool raw,
                 bool cutShort)
      : file_(std::move(file)), shorts_(shorts), raw_(raw) {
    channels_ = channels;
    statedFrames_ = frames;
    cutShort_ = cutShort;
  }

  // 16-bit files are read as they are stored. Others are read as floats and converted here:
  // libsndfile's own float-to-short path leaves floating-point WAVs unscaled (all but silent)
  // unless told to normalise them to their peak.
  size_t Read(int16_t* out, size_t frames) override {
    if (raw_) {
      // Stored as they play: the bytes go straight into `out`.
      const auto frameBytes = static_cast<sf_count_t>(sizeof(int16_t)) * channels_;
      sf_count_t got = sf_read_raw(file_.get(), out, static_cast<sf_count_t>(frames) * frameBytes);
      return got <= 0 ? 0 : static_cast<size_t>(got / frameBytes);
    }
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
  bool raw_;  // 16-bit samples in the machine's byte order
  std::vector<float> scratch_;
};

}  // namespace

std::unique_ptr<Decoder> OpenSndFileDecoder(const std::string& file, std::string& why) {
  SF_INFO info{};
  // Opened here and handed over: libsndfile refuses a name of more than a few hundred characters
  // (a deep content folder). It closes the descriptor with the file, or at once when it fails.
  int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    why = std::string("cannot be read (") + std::strerror(errno) + ")";
    return nullptr;
  }
  SndFilePtr sf(sf_open_fd(fd, SFM_READ, &info, SF_TRUE));
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
  // A RIFF WAVE (not RIFX) stores its samples little-endian.
  const bool raw = shorts && std::endian::native == std::endian::little &&
                   (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV &&
                   (info.format & SF_FORMAT_ENDMASK) == SF_ENDIAN_FILE;
  return std::make_unique<SndFileDecoder>(std::move(sf), info.channels,
                                          static_cast<uint64_t>(info.frames), shorts, raw,
                                          WavEndsEarly(file));
}

bool WavEndsEarly(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  char riff[12];
  if (!in.read(riff, sizeof riff) || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0) {
    return false;
  }
  std::error_code ec;
  const uint64_t size = std::filesystem::file_size(file, ec);
  if (ec) return false;
  // Walks the chunks up to "data"; a few hundred is more than any real file has.
  for (int chunk = 0; chunk < 256; ++chunk) {
    unsigned char head[8];
    if (!in.read(reinterpret_cast<char*>(head), sizeof head)) return false;
    const uint64_t length = head[4] | (head[5] << 8) | (head[6] << 16) | (uint64_t{head[7]} << 24);
    const uint64_t at = static_cast<uint64_t>(in.tellg());
    if (std::memcmp(head, "data", 4) == 0) {
      // 0 and 0xFFFFFFFF are what writers that could not seek back leave: no length to keep.
      return length != 0 && length != 0xFFFFFFFFu && at + length > size;
    }
    in.seekg(static_cast<std::streamoff>(length + (length & 1)), std::ios::cur);
  }
  return false;
}
