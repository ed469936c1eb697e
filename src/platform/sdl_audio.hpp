// The sound card back end: SDL's audio output, fed by our own mixer from SDL's audio thread.
#pragma once

#include <string>

#include "platform/mixer_device.hpp"

class SdlAudio : public MixerDevice {
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

  // The device keeps its own time: the frame clock moves nothing here.
  void Advance(double /*ms*/) override {}

 private:
  static void Callback(void* self, unsigned char* stream, int len);

  uint32_t device_ = 0;
  std::string error_;
};
