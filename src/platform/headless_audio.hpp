// The audio device of headless runs and tests: streams keep a position that moves on by each
// frame's raw time step, so one-shot and loop patterns behave as with a sound card.
#pragma once

#include "audio/mixer.hpp"
#include "platform/audio_device.hpp"

class HeadlessAudio : public AudioDevice {
 public:
  bool Init(int frequency) override;
  void Free() override;
  uint32_t StreamCreateFile(const std::string& path, const std::string& file) override;
  bool ChannelPlay(uint32_t handle, bool restart) override;
  bool ChannelStop(uint32_t handle) override;
  uint64_t ChannelGetPosition(uint32_t handle) override;
  uint64_t StreamGetLength(uint32_t handle) override;
  bool ChannelSetPosition(uint32_t handle, uint64_t position) override;
  bool ChannelSetAttributes(uint32_t handle, int frequency, int volume, int pan) override;
  // Moves playing streams on by `ms` at 44100 frames per second; the fractions of a frame left
  // over are carried to the next call, so odd time steps add up exactly.
  void Advance(double ms) override;
  std::vector<StreamInfo> Streams() const override;

  Mixer& mixer() { return mixer_; }

 private:
  Mixer mixer_;
  double carriedFrames_ = 0;
};
