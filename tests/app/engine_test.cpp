// Frame-time measurement.
#include <gtest/gtest.h>

#include "app/engine.hpp"

namespace {
uint32_t fakeNow = 0;
uint32_t FakeTicks() {
  return fakeNow;
}

cMORVA FreshEngine() {
  cMORVA m;
  m.timeScale = 1000.0;
  m.frameTime = 10.0;
  return m;
}
}  // namespace

TEST(FrameTime, FirstFrameMeasuresOneFrameAndStandsStill) {
  cMORVA m = FreshEngine();
  fakeNow = 5'000'000;
  m.Measure(&FakeTicks);
  EXPECT_EQ(m.fps, 1);
  EXPECT_EQ(m.frameTime, 0);
  EXPECT_EQ(m.lastMeasure, 5'000'000u);
  EXPECT_EQ(m.framesCounted, 0);
}

TEST(FrameTime, MeasuresOncePerSecondAndKeepsTheStepInBetween) {
  cMORVA m = FreshEngine();
  fakeNow = 5'000'000;
  m.Measure(&FakeTicks);
  // 100 frames in the next second, 10 ms apart: no measurement until more than 1000 ms passed.
  for (int i = 1; i <= 100; ++i) {
    fakeNow += 10;
    m.Measure(&FakeTicks);
    if (i < 100) EXPECT_EQ(m.frameTime, 0) << "frame " << i;
  }
  // Exactly 1000 ms later is not "more than" 1000 ms.
  EXPECT_EQ(m.frameTime, 0);
  fakeNow += 10;
  m.Measure(&FakeTicks);
  EXPECT_EQ(m.fps, 101);
  EXPECT_DOUBLE_EQ(m.frameTime, 1000.0 / 101);
}

TEST(FrameTime, SlowMotionScalesTheStepAtTheNextMeasurement) {
  cMORVA m = FreshEngine();
  fakeNow = 5'000'000;
  m.Measure(&FakeTicks);
  m.timeScale = 1300.0;
  for (int i = 0; i < 100; ++i) {
    fakeNow += 10;
    m.Measure(&FakeTicks);
  }
  fakeNow += 1;
  m.Measure(&FakeTicks);
  EXPECT_EQ(m.fps, 101);
  EXPECT_DOUBLE_EQ(m.frameTime, (1000.0 / 101) * 1000.0 / 1300.0);
}

TEST(FrameTime, BelowTenFramesASecondEachFrameTakesItsOwnStepUpTo100Ms) {
  cMORVA m = FreshEngine();
  fakeNow = 5'000'000;
  m.Measure(&FakeTicks);
  m.BeginFrame(112);
  EXPECT_EQ(m.frameTime, 0) << "the first second stands still";
  for (int i = 0; i < 9; ++i) {
    fakeNow += 112;
    m.Measure(&FakeTicks);
  }
  EXPECT_EQ(m.fps, 9);
  struct Step {
    double rawMs, timeScale, frameTime;
  } steps[] = {{80, 1000, 80}, {100, 1000, 100}, {112, 1000, 100}, {112, 1300, 100000.0 / 1300}};
  for (const Step& s : steps) {
    m.timeScale = s.timeScale;
    m.BeginFrame(s.rawMs);
    EXPECT_DOUBLE_EQ(m.frameTime, s.frameTime) << s.rawMs;
  }
  // Ten frames in the next second give the measured step again, whatever a frame takes.
  m.timeScale = 1000;
  for (int i = 0; i < 10; ++i) {
    fakeNow += 101;
    m.Measure(&FakeTicks);
  }
  EXPECT_EQ(m.fps, 10);
  m.BeginFrame(50);
  EXPECT_DOUBLE_EQ(m.frameTime, 100.0);
}

TEST(FrameTime, FixedStepBypassesTheMeasurement) {
  // A step of 0 ms (a frozen second in a recording) has no frame rate: 0, never infinity.
  struct Case {
    double stepMs;
    double fps;
  } cases[] = {{10.0, 100.0}, {0.5, 2000.0}, {0.0, 0.0}};
  for (const Case& c : cases) {
    cMORVA m = FreshEngine();
    m.fixedStepMs = c.stepMs;
    m.timeScale = 1300.0;
    fakeNow = 5'000'000;
    m.Measure(&FakeTicks);
    EXPECT_DOUBLE_EQ(m.fps, c.fps) << c.stepMs;
    EXPECT_DOUBLE_EQ(m.frameTime, c.stepMs * 1000.0 / 1300.0) << c.stepMs;
  }
}

TEST(FrameTime, AReplayMeasuresOnlyWhereTheRecordingDid) {
  cMORVA m = FreshEngine();
  m.replaysMeasurements = true;
  m.fixedStepMs = 10.0;  // drives the sound only
  fakeNow = 5'000'000;
  m.recordedMeasurement = 1;
  m.Measure(&FakeTicks);
  EXPECT_EQ(m.frameTime, 0);
  EXPECT_TRUE(m.measuredThisFrame);
  for (int i = 0; i < 150; ++i) {
    fakeNow += 500;  // however slow the replay's clock, nothing is measured
    m.Measure(&FakeTicks);
    EXPECT_FALSE(m.measuredThisFrame);
  }
  EXPECT_EQ(m.frameTime, 0);
  m.recordedMeasurement = 97;
  m.Measure(&FakeTicks);
  EXPECT_EQ(m.fps, 97);
  EXPECT_DOUBLE_EQ(m.frameTime, 1000.0 / 97);
}
