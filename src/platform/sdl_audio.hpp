// The sound card back end: SDL's audio output, fed by our own mixer from SDL's audio thread.
// What the game reads of its streams keeps time with the frame clock, as on the headless device,
// so the game behaves the same with or without sound and on any device.
#pragma once

#include <memory>
#include <string>

#include "audio/mixer_device.hpp"

class SdlAudio : public MixerDevice {
 public:
  SdlAudio();
  // Never waits for the sound system: output stops at once, and a device that is open (or still
  // being opened) is left to the end of the process, which releases it (see LeftOver()).
  ~SdlAudio() override;
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // Opens the default output device at `frequency` Hz, 16-bit stereo; after Free() it starts the
  // same device again. False when there is no usable device; Error() says why.
  bool Init(int frequency) override;
  // Starts opening the device on a thread of its own, so that start-up does not wait for the
  // sound system (probing drivers can take a tenth of a second); says on stderr when it fails.
  void OpenInBackground(int frequency);
  // Stops the output at once and forgets every stream. The device itself stays open (silent):
  // closing it would wait for SDL's audio thread to play out its buffers.
  void Free() override;
  // Free(), then waits for the device to be opened and closes it, and the audio subsystem with
  // it: what a test needs before it reads what the device wrote.
  void Close();
  bool IsOpen() const;
  std::string Error() const;

  void Advance(double ms) override;

  // What destroyed devices left behind, for the window system's own shutdown: while a device is
  // still being opened SDL must not be shut down at all, and an open device would make SDL_Quit
  // wait for its buffers.
  enum class Left { Nothing, OpenDevice, StillOpening };
  static Left LeftOver();
  // Waits for the devices left behind and closes them (for tests that go on using SDL).
  static void CloseLeftOvers();

  // The device state, shared with the thread that opens it (which may outlive this object).
  struct Output;

 private:
  static void Callback(void* self, unsigned char* stream, int len);

  std::shared_ptr<Output> output_;
  bool started_ = false;
};
