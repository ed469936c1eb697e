// Decoded sound files: short sounds held whole in memory from their first play, long ones decoded
// ahead as they play.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class Decoder;

// Sample frames of 16-bit audio in the file's own channel count, read by frame index.
class SoundSource {
 public:
  virtual ~SoundSource() = default;
  int Channels() const { return channels_; }
  // Frames the file delivers, known when it is opened. Shrinks only if a streamed file gives out
  // earlier while it plays (it was changed or damaged after opening): the sound then ends there.
  uint64_t Frames() const { return frames_; }
  // The file holds less than its header announces (see Decoder::CutShort).
  bool CutShort() const { return cutShort_; }
  void SetCutShort(bool cut) { cutShort_ = cut; }
  // Interleaved frames from `at` on, or nullptr when none can be had there. On return `count`
  // holds how many follow contiguously (never more than asked for, at least 1 on success).
  // Not thread-safe: one reader at a time.
  virtual const int16_t* Peek(uint64_t at, size_t& count) = 0;
  // As Peek, but never waits: a streamed source gives nullptr for frames not decoded yet (the
  // audio callback plays silence there rather than wait).
  virtual const int16_t* TryPeek(uint64_t at, size_t& count) { return Peek(at, count); }
  // Says where the next read will be (after a jump), so a streamed source decodes there ahead.
  virtual void Expect(uint64_t /*at*/) {}
  // Called on the game's thread before the sound is played: a sound held back until it plays is
  // read now, not by the audio thread's first Peek.
  virtual void Prepare() {}
  // Bytes of decoded audio and decoder buffers this source keeps.
  virtual size_t MemoryBytes() const = 0;
  virtual bool Streamed() const = 0;

 protected:
  int channels_ = 0;
  uint64_t frames_ = 0;
  bool cutShort_ = false;
};

// Sounds up to this many frames are decoded whole when opened; longer ones (music) are streamed.
constexpr uint64_t kWholeDecodeMaxFrames = 44100 * 12;

// Opens a WAV or MP3 file. A file cut short of what its header promises plays up to the cut. A
// short WAV (or other file libsndfile reads) is read when it first plays (see Prepare).
// Returns nothing for a file that is missing, empty, not audio, or holds no decodable frames;
// `why` then says what is wrong with a file that is there (and is left empty for a missing one).
std::unique_ptr<SoundSource> OpenSoundSource(const std::string& file, std::string* why = nullptr);

// The source over an opened decoder, or nothing (with the reason in `why`).
std::unique_ptr<SoundSource> SourceFromDecoder(std::unique_ptr<Decoder> decoder, std::string& why);
