// The audio device of headless runs and tests: streams keep a position that moves on by each
// frame's raw time step, so one-shot and loop patterns behave as with a sound card.
#pragma once

#include "platform/mixer_device.hpp"

class HeadlessAudio : public MixerDevice {
 public:
  bool Init(int frequency) override;
  void Free() override;
  // Moves playing streams on by `ms` at 44100 frames per second; the fractions of a frame left
  // over are carried to the next call, so odd time steps add up exactly.
  void Advance(double ms) override;

 private:
  double carriedFrames_ = 0;
};
