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

  // Replaying a recorded free-running session: the time step changes only on the frames where
  // the recording measured, with the frame count it measured (the raw step then drives the sound
  // alone), so the replay sees exactly the steps the player had.
  bool replaysMeasurements = false;
  std::optional<int> recordedMeasurement;
  // Whether this frame's measurement took place (what a recording writes down).
  bool measuredThisFrame = false;

  // Below ten frames a second (after the first measurement of the run) each frame runs with its
  // own raw time step, capped, instead of standing still: `rawStepMs` is this frame's.
  bool slowClock = false;
  uint32_t measurements = 0;
  void BeginFrame(double rawStepMs);

  // Counts the frame, measures once a second (reading the tick count through `ticks`), then
  // presents the frame.
  void EndFrame();

  // The measurement alone, for a clock given by the caller.
  void Measure(uint32_t (*ticks)());

 private:
  void TakeMeasurement(int framesInSecond);
};
