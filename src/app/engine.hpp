// The engine object: frame-rate measurement, the frame's time step, and presenting the frame.
#pragma once

#include <cstdint>
#include <optional>

class cMORVA {
 public:
  double fps = 0;
  // Milliseconds per frame (x 1000 / timeScale); every motion, fade and timer is scaled by it.
  double frameTime = 0;
  double timeScale = 0;

  uint16_t framesCounted = 0;
  uint32_t lastMeasure = 0;

  // Set by --frame-ms: every frame's raw step is this many milliseconds and the
  // once-per-second measurement is bypassed.
  std::optional<double> fixedStepMs;

  // Counts the frame, measures once a second (reading the tick count through `ticks`), then
  // presents the frame.
  void EndFrame();

  // The measurement alone, for a clock given by the caller.
  void Measure(uint32_t (*ticks)());
};
