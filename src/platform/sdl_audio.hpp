// The sound card back end: SDL's audio output, fed by our own mixer from SDL's audio thread.
// Until a device is open (or when none can be), streams keep time with the frame clock, as on
// the headless device, so the game behaves the same with or without sound.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "audio/mixer_device.hpp"

class SdlAudio : public MixerDevice {
 public:
  SdlAudio() = default;
  ~SdlAudio() override;
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // Opens the default output device at `frequency` Hz, 16-bit stereo; does nothing when it is
  // already open or being opened. False when there is no usable device; Error() says why.
  bool Init(int frequency) override;
  // Starts opening the device on a thread of its own, so that start-up does not wait for the
  // sound system (probing drivers can take a tenth of a second); says on stderr when it fails.
  void OpenInBackground(int frequency);
  // Closes the device and forgets every stream.
  void Free() override;
  bool IsOpen() const { return device_ != 0; }
  std::string Error() const;

  void Advance(double ms) override;

 private:
  static void Callback(void* self, unsigned char* stream, int len);
  bool Open(int frequency);

  std::atomic<uint32_t> device_{0};
  std::thread opener_;
  bool started_ = false;
  mutable std::mutex errorMutex_;
  std::string error_;
};
