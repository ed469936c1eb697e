// The mixer's look-ahead limiter.
#include "audio/limiter.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kFullScale = 32766.5f;  // from here on a sample would be written at full scale
constexpr float kCeiling = 31000.0f;    // about -0.5 dB: where a limited peak lands
// Per frame, the share of the way back to full gain (a time constant of 100 ms at 44100 Hz).
constexpr float kRecovery = 1.0f / (0.1f * 44100.0f);
}  // namespace

Limiter::Limiter() {
  ramp_.fill(1.0f);
}

float Limiter::NeededGain(float left, float right) {
  const float peak = std::max(std::abs(left), std::abs(right));
  return peak >= kFullScale ? kCeiling / peak : 1.0f;
}

float Limiter::HeldGain(float needed) {
  // A need leaves once its frame has left the delay line.
  while (needsCount_ > 0 && needs_[needsFirst_].frame + kAttackFrames <= entered_) {
    needsFirst_ = (needsFirst_ + 1) % kAttackFrames;
    --needsCount_;
  }
  if (needed < 1.0f) {
    // A need no lower than the new one, and older, can never be the lowest again.
    while (needsCount_ > 0 &&
           needs_[(needsFirst_ + needsCount_ - 1) % kAttackFrames].gain >= needed) {
      --needsCount_;
    }
    needs_[(needsFirst_ + needsCount_) % kAttackFrames] = {entered_, needed};
    ++needsCount_;
  }
  return needsCount_ > 0 ? needs_[needsFirst_].gain : 1.0f;
}

float Limiter::ReleasedGain(float held) {
  if (released_ < 1.0f) {
    released_ = std::min(1.0f, released_ + (1.0f - released_) * kRecovery + 1e-6f);
  }
  released_ = std::min(released_, held);
  return released_;
}

float Limiter::RampedGain(float released) {
  const float leaving = ramp_[rampAt_];
  rampBelowOne_ -= leaving < 1.0f ? 1 : 0;
  rampBelowOne_ += released < 1.0f ? 1 : 0;
  ramp_[rampAt_] = released;
  rampAt_ = (rampAt_ + 1) % kAttackFrames;
  // Every gain averaged here was found while the frame leaving now was in the window of
  // HeldGain, so none is above that frame's need, and neither is their mean. Once the window is
  // back at 1 the sum is set exactly, so rounding never lingers into a quiet mix.
  if (rampBelowOne_ == 0) {
    rampSum_ = kAttackFrames;
    return 1.0f;
  }
  rampSum_ += static_cast<double>(released) - leaving;
  return static_cast<float>(rampSum_ / kAttackFrames);
}

void Limiter::Process(float* samples, size_t frames) {
  for (size_t i = 0; i < frames; ++i) {
    float* frame = samples + 2 * i;
    const float gain = RampedGain(ReleasedGain(HeldGain(NeededGain(frame[0], frame[1]))));
    float* slot = delay_.data() + 2 * delayAt_;
    const float left = slot[0];
    const float right = slot[1];
    slot[0] = frame[0];
    slot[1] = frame[1];
    delayAt_ = (delayAt_ + 1) % kDelayFrames;
    ++entered_;
    if (gain < 1.0f) {
      frame[0] = left * gain;
      frame[1] = right * gain;
    } else {
      frame[0] = left;
      frame[1] = right;
    }
  }
}
