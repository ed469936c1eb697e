// The audio device of headless runs and tests: streams keep a position that moves on by each
// frame's raw time step, so one-shot and loop patterns behave as with a sound card.
#pragma once

#include "audio/mixer_device.hpp"

class HeadlessAudio : public MixerDevice {
 public:
  bool Init(int /*frequency*/) override { return true; }
  void Free() override { Clear(); }
  void Advance(double ms) override { AdvanceByClock(ms); }
};
