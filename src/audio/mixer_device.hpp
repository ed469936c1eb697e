// The part every audio device shares: streams live in our own mixer, and the stream operations
// go straight to it. Devices differ only in what drives the mixer (a sound card or the frame
// clock).
#pragma once

#include "audio/audio_device.hpp"
#include "audio/mixer.hpp"

class MixerDevice : public AudioDevice {
 public:
  uint32_t StreamCreateFile(const std::string& path,
                            const std::vector<std::string>& files) override;
  void Prefetch(const std::vector<std::string>& files) override { mixer_.Prefetch(files); }
  bool ChannelStop(uint32_t handle) override;
  uint64_t ChannelGetPosition(uint32_t handle) override;
  uint64_t StreamGetLength(uint32_t handle) override;
  ChannelProgress ChannelGetProgress(uint32_t handle) override;
  bool ChannelSetPosition(uint32_t handle, uint64_t position) override;
  ChannelProgress ChannelPlayOn(uint32_t handle, int volume, bool loop) override;
  std::vector<StreamInfo> Streams() const override;

  Mixer& mixer() { return mixer_; }

 protected:
  // Moves playing streams on by `ms` at the mixing rate, as a device would in that time; the
  // fractions of a frame left over are carried to the next call, so odd steps add up exactly.
  void AdvanceByClock(double ms);
  // Forgets every stream.
  void Clear();

  Mixer mixer_;

 private:
  double carriedFrames_ = 0;
};
