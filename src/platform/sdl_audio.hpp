// The sound card back end: SDL's audio output, fed by our own mixer from SDL's audio thread.
#pragma once

#include <string>

#include "audio/mixer.hpp"
#include "platform/audio_device.hpp"

class SdlAudio : public AudioDevice {
 public:
  SdlAudio() = default;
  ~SdlAudio() override;
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // Opens the default output device at `frequency` Hz, 16-bit stereo; does nothing when it is
  // already open. False when there is no usable device; Error() says why.
  bool Init(int frequency) override;
  // Closes the device and forgets every stream.
  void Free() override;
  bool IsOpen() const { return device_ != 0; }
  const std::string& Error() const { return error_; }

  uint32_t StreamCreateFile(const std::string& path, const std::string& file) override;
  bool ChannelPlay(uint32_t handle, bool restart) override;
  bool ChannelStop(uint32_t handle) override;
  uint64_t ChannelGetPosition(uint32_t handle) override;
  uint64_t StreamGetLength(uint32_t handle) override;
  bool ChannelSetPosition(uint32_t handle, uint64_t position) override;
  bool ChannelSetAttributes(uint32_t handle, int frequency, int volume, int pan) override;
  // The device keeps its own time: the frame clock moves nothing here.
  void Advance(double /*ms*/) override {}
  std::vector<StreamInfo> Streams() const override;

 private:
  static void Callback(void* self, unsigned char* stream, int len);

  Mixer mixer_;
  uint32_t device_ = 0;
  std::string error_;
};
