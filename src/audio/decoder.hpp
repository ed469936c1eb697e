// File decoders under the sound sources: 16-bit frames read in order, with seeking.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// One open sound file. Not thread-safe: one reader at a time.
class Decoder {
 public:
  virtual ~Decoder() = default;
  int Channels() const { return channels_; }
  // The frames the file says it holds. A damaged or cut file may deliver fewer.
  uint64_t StatedFrames() const { return statedFrames_; }
  // The file holds less than its own header announces (a WAV's data length, the frame count of
  // an MP3's LAME tag): it plays as far as it goes.
  bool CutShort() const { return cutShort_; }
  // Decodes up to `frames` interleaved frames from the current position into `out`. Returns how
  // many; 0 at the end or where the file cannot be read further.
  virtual size_t Read(int16_t* out, size_t frames) = 0;
  // Moves to `frame`; false when the decoder cannot go there.
  virtual bool Seek(uint64_t frame) = 0;
  // Bytes of buffers this decoder keeps.
  virtual size_t MemoryBytes() const = 0;

 protected:
  int channels_ = 0;
  uint64_t statedFrames_ = 0;
  bool cutShort_ = false;
};

// MP3 (MPEG audio) through libmpg123. The stated length is counted from the frame headers, so it
// is exact; gapless information in a LAME tag trims the encoder's delay and padding. The audio
// begins `start` bytes into the file (after padding, see MpegAudioStart).
std::unique_ptr<Decoder> OpenMp3Decoder(const std::string& file, std::string& why,
                                        uint64_t start = 0);
// WAV and the other formats libsndfile reads, whose headers give their length.
std::unique_ptr<Decoder> OpenSndFileDecoder(const std::string& file, std::string& why);
// Where a file's MPEG audio begins, if it is MPEG audio: 0 when it starts with an ID3v2 tag or a
// frame header; after zero bytes of padding, the first frame header, provided a second one of the
// same stream follows where the first's length says and the first begins within 64 KiB. Nothing
// for any other file.
std::optional<uint64_t> MpegAudioStart(const std::string& file);

// Whether a RIFF WAVE file holds fewer sound bytes than its data chunk declares (a file cut
// short still plays, as far as it goes, but says so). False for any other file.
bool WavEndsEarly(const std::string& file);
