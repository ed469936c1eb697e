// Decoded sound files: short sounds held whole in memory, long ones decoded in chunks as they play.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Sample frames of 16-bit audio in the file's own channel count, read by frame index.
class SoundSource {
 public:
  virtual ~SoundSource() = default;
  int Channels() const { return channels_; }
  // Frames the file holds, known when it is opened.
  uint64_t Frames() const { return frames_; }
  // Interleaved frames from `at` on, or nullptr when none can be had there. On return `count`
  // holds how many follow contiguously (never more than asked for, at least 1 on success).
  // Not thread-safe: one reader at a time.
  virtual const int16_t* Peek(uint64_t at, size_t& count) = 0;
  // Bytes of decoded audio and decoder buffers this source keeps.
  virtual size_t MemoryBytes() const = 0;
  virtual bool Streamed() const = 0;

 protected:
  int channels_ = 0;
  uint64_t frames_ = 0;
};

// Sounds up to this many frames are decoded whole when opened; longer ones (music) are streamed.
constexpr uint64_t kWholeDecodeMaxFrames = 44100 * 12;

// Opens a WAV or MP3 file. Returns nothing for a file that is missing, empty, not audio, holds no
// frames, or is cut short of what its header promises.
std::unique_ptr<SoundSource> OpenSoundSource(const std::string& file);
