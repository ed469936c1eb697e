// The mixer: the table of opened streams with their play state, and the sum of the playing ones
// into 16-bit stereo at 44100 Hz. Shared by the sound card back end and the headless one.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "audio/audio_device.hpp"
#include "audio/limiter.hpp"
#include "audio/sound_prefetch.hpp"
#include "audio/sound_source.hpp"

// The output rate. Every stream plays one of its frames per output frame, whatever rate its file
// was made at (a 22050 Hz file plays at double speed), as the game's sounds were made for.
constexpr int kMixRate = 44100;
// How many frames after it is mixed a frame is heard (the limiter's look-ahead, under 2 ms).
constexpr size_t kHeardLateFrames = Limiter::kDelayFrames;

// One thread (the game's) opens, plays, positions and asks about streams while another (the
// sound card's) mixes them. What the game asks about every frame (where a stream is, how long it
// is, whether it plays) and the volume it sets are read and written without the lock; the lock is
// held only for table updates, for the changes of play state and for one mix call, and no call
// decodes under it: music is decoded ahead by its own thread.
class Mixer {
 public:
  Mixer();
  // Decodes (or prepares to stream) the first of `files` that holds a sound (several when the
  // game's name `path` is spelt alike in different case; none when no file has that name).
  // Returns the new stream's handle, or 0 with one message naming `path` when none is usable.
  uint32_t Open(const std::string& path, const std::vector<std::string>& files);
  // Starts decoding `files` ahead on a thread of its own (a level's sounds while its pictures
  // load); Open of one of them takes what was decoded, waiting for it if need be.
  void Prefetch(std::vector<std::string> files) { prefetch_.Start(std::move(files)); }
  // One file; an empty name is a file that does not exist.
  uint32_t Open(const std::string& path, const std::string& file);
  // Adds an already opened source; returns its handle.
  uint32_t Add(const std::string& path, std::unique_ptr<SoundSource> source);
  // Forgets every stream, and what of them is still to be heard; their handles become harmless.
  void Clear();

  // Without `restart` a playing stream goes on unchanged; a stream at its end stays silent.
  bool Play(uint32_t handle, bool restart);
  bool Stop(uint32_t handle);
  // Bytes of decoded 16-bit audio in the file's channel count.
  uint64_t Position(uint32_t handle) const;
  uint64_t Length(uint32_t handle) const;
  ChannelProgress Progress(uint32_t handle) const;
  // Rounded down to a whole frame; a position past the end is refused.
  bool SetPosition(uint32_t handle, uint64_t bytes);
  // 0 is silence, 100 full volume; the gain is linear, volume / 100.
  bool SetVolume(uint32_t handle, int volume);
  // What the game does to every sound it plays on, each frame, in one look at the stream: sets
  // the volume, starts the stream unless it stands at its end, and with `loop` puts one at its
  // end back to the start. Returns where the stream stood (all 0 for an unknown handle).
  ChannelProgress PlayOn(uint32_t handle, int volume, bool loop);
  std::vector<StreamInfo> Streams() const;

  // Adds the playing streams into `out` (interleaved stereo, `frames` frames, overwritten) and
  // moves them on. A stream that reaches its end stops exactly at its length. What comes out is
  // the sum of kHeardLateFrames frames earlier (silence at first): the limiter looks that far
  // ahead to bring a sum that would reach full scale smoothly below it. A sum that stays below
  // comes out exactly as it was. Positions count the frames mixed (with a sound card the game
  // reads the frame clock's, which no delay touches).
  void Mix(int16_t* out, size_t frames);
  // In real time (a sound card's callback) Mix never waits for music to be decoded; otherwise
  // (tests, tools) it does, so what it produces does not depend on thread timing.
  void SetRealTime(bool realTime);
  // Moves the playing streams on by `frames` without producing sound (no decoding).
  void Skip(uint64_t frames);
  // With a sound card: what the game reads (positions, ends, what plays) keeps time with the
  // frames through Skip, and Mix moves only what is heard, so the game runs the same with any
  // device and a recording replays alike everywhere. Off (tests, tools): Mix moves both.
  void FollowFrameClock(bool on);

  // Bytes held by all sources (decoded sounds and stream buffers).
  size_t MemoryBytes() const;

 private:
  struct Stream {
    std::string path;
    std::unique_ptr<SoundSource> source;
    // What the game sees, in frames: written under the lock, read by the game without it.
    std::atomic<uint64_t> position = 0;
    std::atomic<bool> playing = false;
    std::atomic<uint64_t> length = 0;  // the source's, as the mix last found it
    // What the device plays; the same as the above unless the mixer follows the frame clock.
    uint64_t playhead = 0;
    std::atomic<bool> sounding = false;
    std::atomic<int> volume = 100;
  };
  Stream* Find(uint32_t handle);
  const Stream* Find(uint32_t handle) const;
  static ChannelProgress ProgressOf(const Stream& s);
  void PlayStream(Stream& s, bool restart);
  bool MoveStream(Stream& s, uint64_t bytes);
  void MixStream(Stream& s, size_t frames);

  mutable std::mutex mutex_;
  // Handle n is streams_[n - 1]; the table changes on the game's thread only, under the lock.
  std::vector<std::unique_ptr<Stream>> streams_;
  std::vector<float> accumulator_;
  bool realTime_ = false;
  bool frameClock_ = false;
  Limiter limiter_;
  SoundPrefetch prefetch_;
};
