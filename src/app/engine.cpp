// Frame-rate measurement and presentation of each frame.
#include "app/engine.hpp"

#include "app/platform.hpp"
#include "base/backends.hpp"
#include "gfx/renderer.hpp"

namespace {
uint32_t PlatformTicks() {
  return backends.platform->TicksMs();
}
}  // namespace

void cMORVA::TakeMeasurement(int framesInSecond) {
  fps = framesInSecond;
  frameTime = (1000.0 / fps) * 1000.0 / timeScale;
  // Below ten frames a second the game stands still rather than jumps.
  if (fps < 10) frameTime = 0;
  framesCounted = 0;
  measuredThisFrame = true;
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
