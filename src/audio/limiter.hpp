// The mixer's limiter: keeps the summed streams below full scale without flattening their peaks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// A look-ahead limiter over interleaved stereo. Everything it lets through comes out a fixed
// number of frames late (kDelayFrames, under 2 ms), so the gain can come down smoothly before a
// peak arrives instead of jumping at it: a jump is a corner in the waveform, heard as a click, and
// a gain set per peak holds the loudest stretch flat at the ceiling, which is clipping by another
// name. The gain comes back slowly (a time constant of 100 ms) once the peaks have gone.
// A mix that stays below full scale leaves the limiter exactly as it came in, only later.
class Limiter {
 public:
  // The frames of the attack: the gain falls along a straight line over this many frames, a
  // little over 1.8 ms at 44100 Hz.
  static constexpr size_t kAttackFrames = 80;
  // How late every frame comes out: the attack must be over when a peak comes out.
  static constexpr size_t kDelayFrames = kAttackFrames - 1;

  Limiter();
  // Replaces `frames` stereo frames in `samples` with those that entered kDelayFrames earlier
  // (silence at first), limited.
  void Process(float* samples, size_t frames);

 private:
  // The gain the frame entering now needs: 1 unless it would reach full scale.
  static float NeededGain(float left, float right);
  // The lowest needed gain among the frames in the delay line and the one entering.
  float HeldGain(float needed);
  // The held gain with the slow return to 1 after a peak.
  float ReleasedGain(float held);
  // The released gain averaged over the attack: a straight ramp down to each peak.
  float RampedGain(float released);

  uint64_t entered_ = 0;  // frames that came in so far

  std::array<float, kDelayFrames * 2> delay_{};
  size_t delayAt_ = 0;  // the oldest frame of the delay line, which leaves next

  // The needed gains below 1 still in the window, as (frame, gain), ascending both ways: the
  // first is the lowest. A ring of kAttackFrames entries.
  struct Need {
    uint64_t frame;
    float gain;
  };
  std::array<Need, kAttackFrames> needs_{};
  size_t needsFirst_ = 0;
  size_t needsCount_ = 0;

  float released_ = 1.0f;

  // The last kAttackFrames released gains, their sum, and how many of them are below 1.
  std::array<float, kAttackFrames> ramp_{};
  size_t rampAt_ = 0;
  double rampSum_ = kAttackFrames;
  size_t rampBelowOne_ = 0;
};
