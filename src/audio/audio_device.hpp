// The audio boundary: streams opened from files, played, stopped and positioned in bytes of
// decoded 16-bit audio. SDL output in sdl_audio.cpp, the headless device in headless_audio.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the state dump shows of one opened stream.
struct StreamInfo {
  std::string path;  // as the program passed it to Open
  uint64_t position = 0;
  uint64_t length = 0;
  bool playing = false;
  int volume = 0;
};

// Where a stream is and how long it is, read together.
struct ChannelProgress {
  uint64_t position = 0;
  uint64_t length = 0;
  bool AtEnd() const { return position == length; }
};

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;

  virtual bool Init(int frequency) = 0;
  virtual void Free() = 0;
  // Opens a stream from the first of `files` (already resolved, in the order to try them) that
  // holds a sound; `path` is the game's own name for it. 0 on failure, with a message.
  virtual uint32_t StreamCreateFile(const std::string& path,
                                    const std::vector<std::string>& files) = 0;
  // Files that StreamCreateFile will be asked for soon, in that order: a device may decode them
  // ahead while the caller goes on.
  virtual void Prefetch(const std::vector<std::string>& /*files*/) {}
  virtual bool ChannelStop(uint32_t handle) = 0;
  virtual uint64_t ChannelGetPosition(uint32_t handle) = 0;
  virtual uint64_t StreamGetLength(uint32_t handle) = 0;
  // Both of the above in one look at the stream (a frame asks this of every unit's sounds).
  virtual ChannelProgress ChannelGetProgress(uint32_t handle) = 0;
  virtual bool ChannelSetPosition(uint32_t handle, uint64_t position) = 0;
  // Sets the volume (0 to 100), starts the stream unless it stands at its end, and with `loop`
  // puts one at its end back to the start: what the game does to every sound it plays on, each
  // frame, in one call. Returns where the stream stood (all 0 for an unknown handle).
  virtual ChannelProgress ChannelPlayOn(uint32_t handle, int volume, bool loop) = 0;
  // Called once per frame with the frame's raw time step; a device without its own clock moves
  // its playing streams on by that much.
  virtual void Advance(double /*ms*/) {}
  virtual std::vector<StreamInfo> Streams() const = 0;
};
