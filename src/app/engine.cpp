// Frame-rate measurement and presentation of each frame.
#include "app/engine.hpp"

#include <algorithm>

#include "app/platform.hpp"
#include "base/backends.hpp"
#include "gfx/renderer.hpp"

namespace {
uint32_t PlatformTicks() {
  return backends.platform->TicksMs();
}
// Below ten frames a second the steps are the frames' own, but none longer than this: a stall
// of the machine is no leap of the game.
constexpr double kLongestSlowStepMs = 100;
constexpr int kSlowestMeasuredRate = 10;
}  // namespace

void cMORVA::TakeMeasurement(int framesInSecond) {
  fps = framesInSecond;
  frameTime = (1000.0 / fps) * 1000.0 / timeScale;
  // The run's first measurement counts one frame: the first second keeps a step of 0, so the
  // intro does not advance while the program starts. A slow machine later on does not stand
  // still: its frames take their own steps (BeginFrame).
  if (fps < kSlowestMeasuredRate) frameTime = 0;
  slowClock = fps < kSlowestMeasuredRate && measurements > 0;
  ++measurements;
  framesCounted = 0;
  measuredThisFrame = true;
}

void cMORVA::BeginFrame(double rawStepMs) {
  if (!slowClock) return;
  frameTime = std::clamp(rawStepMs, 0.0, kLongestSlowStepMs) * 1000.0 / timeScale;
}

void cMORVA::Measure(uint32_t (*ticks)()) {
  framesCounted++;
  measuredThisFrame = false;
  if (replaysMeasurements) {
    if (recordedMeasurement) TakeMeasurement(*recordedMeasurement);
    recordedMeasurement.reset();
    return;
  }
  if (fixedStepMs) {
    // Scripted runs: the same step every frame, so runs repeat exactly.
    double step = *fixedStepMs;
    fps = step > 0 ? 1000.0 / step : 0;
    frameTime = step * 1000.0 / timeScale;
    framesCounted = 0;
    return;
  }
  // The tick counter's own unsigned arithmetic, as on the system the game was made for; with
  // lastMeasure 0 the very first frame always measures.
  if (static_cast<uint32_t>(ticks() - 1000u) > lastMeasure) {
    TakeMeasurement(framesCounted);
    lastMeasure = ticks();
  }
}

void cMORVA::EndFrame() {
  Measure(&PlatformTicks);
  backends.renderer->FrameDone();
  backends.platform->SwapBuffers();
}
