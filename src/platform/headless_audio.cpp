// Headless audio: files are decoded as for the sound card, nothing is heard, and positions
// advance with the frame clock.
#include "platform/headless_audio.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kLongestStepMs = 3'600'000;
}  // namespace

bool HeadlessAudio::Init(int /*frequency*/) {
  return true;
}

void HeadlessAudio::Free() {
  mixer_.Clear();
  carriedFrames_ = 0;
}

void HeadlessAudio::Advance(double ms) {
  if (!(ms > 0)) return;
  // Nothing is longer than this; it keeps the frame count well inside 64 bits.
  ms = std::min(ms, kLongestStepMs);
  double frames = carriedFrames_ + ms * kMixRate / 1000.0;
  double whole = std::floor(frames);
  carriedFrames_ = frames - whole;
  mixer_.Skip(static_cast<uint64_t>(whole));
}
