// The audio device of headless runs and tests: streams keep a position that moves on by each
// frame's raw time step, so one-shot and loop patterns behave as with a sound card.
#pragma once

#include <map>

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
  void Advance(double ms) override;
  std::vector<StreamInfo> Streams() const override;

 private:
  struct Stream {
    StreamInfo info;
    int channels = 2;
  };
  Stream* Find(uint32_t handle);
  std::map<uint32_t, Stream> streams_;
  uint32_t nextHandle_ = 1;
};
