// The blood fountain's particles: their layout, the emission schedule with its spawn window, the
// arc they follow and how they are drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "base/random.hpp"
#include "fx/fx_test_support.hpp"
#include "fx/particles.hpp"

namespace {

// One frame of a fountain: its step, then its show.
void StepAndShow(cParticle& f, double x, double y, double camX, double camY, double frameMs) {
  f.ParticleStep(x, y, camX, camY, frameMs);
  f.ParticleShow();
}

struct ParticleTest : FxTest {
  cParticle fountain;
  void SetUp() override {
    FxTest::SetUp();
    RandSeed(1234);
    SetSeededRun(true);
    fountain.texture = 42;
  }
  void TearDown() override {
    SetSeededRun(false);
    FxTest::TearDown();
  }
  // The blood fountain as the level load lays it out.
  void LayOut() { fountain.ParticleInit(50, 300, 500, 300); }
  int InFlight() const {
    int n = 0;
    for (int i = 0; i < fountain.count; ++i) n += fountain.particles[i].pending == 0;
    return n;
  }
};

}  // namespace

TEST_F(ParticleTest, TheLayoutSendsHalfTheParticlesToEachSideAtNearlyTheFullHeight) {
  LayOut();
  EXPECT_EQ(fountain.count, 500);
  EXPECT_EQ(fountain.rate, 300.0);
  int left = 0;
  int right = 0;
  double minSpread = 0, maxSpread = 0, minRise = 1000, maxRise = 0;
  for (int i = 0; i < 500; ++i) {
    const Particle& p = fountain.particles[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(p.angle, -1.5);
    EXPECT_EQ(p.pending, 1);
    EXPECT_NEAR(p.due, i / 300.0, 1e-9);
    minSpread = std::min(minSpread, p.spreadX);
    maxSpread = std::max(maxSpread, p.spreadX);
    minRise = std::min(minRise, p.rise);
    maxRise = std::max(maxRise, p.rise);
    // The side's own height band: up to the full height on the right, down from it on the left.
    if (p.spreadX > 0) EXPECT_GE(p.rise, 280);
    if (p.spreadX < 0) EXPECT_LE(p.rise, 280);
    left += p.spreadX < 0;
    right += p.spreadX > 0;
  }
  EXPECT_EQ(minSpread, -49);
  EXPECT_EQ(maxSpread, 49);
  EXPECT_EQ(minRise, 261);
  EXPECT_EQ(maxRise, 299);
  EXPECT_GT(left, 200);
  EXPECT_GT(right, 200);
  EXPECT_EQ(fountain.particles[500].pending, 0) << "the slot past the count stays untouched";
}

TEST_F(ParticleTest, TheRandomDrawsComeInTheirOrderAfterAReseed) {
  LayOut();
  // The same draws by hand from the same seed: reseed, then side, spread, rise per particle.
  RandSeed(1234);
  Randomize();
  for (int i = 0; i < 500; ++i) {
    const bool even = Random(100) % 2 == 0;
    const double spread = even ? Random(50) : -Random(50);
    const double rise = even ? 280 + Random(20) : 280 - Random(20);
    ASSERT_EQ(fountain.particles[i].spreadX, spread) << i;
    ASSERT_EQ(fountain.particles[i].rise, rise) << i;
  }
}

TEST_F(ParticleTest, FiveHundredAndOneSlotsAreAcceptedAndOneMoreIsARangeError) {
  fountain.ParticleInit(50, 300, 501, 300);
  EXPECT_EQ(fountain.particles[500].pending, 1);
  std::string reported;
  SetFatalHandler([&](const std::string& what) { reported = what; });
  cParticle other;
  EXPECT_THROW(other.ParticleInit(50, 300, 502, 300), ProgramExit);
  EXPECT_NE(reported.find("501"), std::string::npos) << reported;
}

TEST_F(ParticleTest, AFrameTimeOfZeroSpawnsButNeitherMovesNorAdvances) {
  LayOut();
  gameState.morva.frameTime = 0;
  StepAndShow(fountain, 100, 200, 10, 20, 0);
  // Only particle 0 lies strictly inside the window around clock 0; particle 1 sits on its edge.
  EXPECT_EQ(InFlight(), 1);
  EXPECT_EQ(fountain.clock, 0);
  const Particle& p = fountain.particles[0];
  EXPECT_EQ(p.angle, -1.5);
  ASSERT_EQ(DrawsOf("quad").size(), 1u);
  const DrawRecord d = DrawsOf("quad")[0];
  EXPECT_DOUBLE_EQ(d.x, p.spreadX * std::sin(-1.5) + p.spreadX + 100 + 10);
  EXPECT_DOUBLE_EQ(d.y, -p.rise * std::cos(-1.5) + 200 + 20);
  EXPECT_DOUBLE_EQ(d.alpha, 1.5) << "the opacity is the negated angle";
  EXPECT_EQ(d.w, 12);
  EXPECT_EQ(d.h, 12);
  EXPECT_EQ(d.depth, -0.1);
  EXPECT_EQ(d.texture, 42u);
  StepAndShow(fountain, 100, 200, 10, 20, 0);
  EXPECT_EQ(InFlight(), 1) << "a standing clock spawns nothing further";
}

TEST_F(ParticleTest, TheDepthTestIsOffWhileTheParticlesAreDrawn) {
  LayOut();
  for (int i = 0; i < 3; ++i) StepAndShow(fountain, 0, 0, 0, 0, 10);
  ASSERT_GE(renderer.events.size(), 3u);
  EXPECT_EQ(renderer.events.front(), "depth off");
  EXPECT_EQ(renderer.events.back(), "depth on");
  EXPECT_TRUE(renderer.depthTest);
}

TEST_F(ParticleTest, LongFramesLoseTheParticlesThatFallBetweenTwoWindows) {
  // One whole emission cycle (500 / 300 s) in frames of each length: the window is two emission
  // intervals (6.7 ms) wide, so frames longer than that skip due times.
  struct Row {
    double frameMs;
    int minSpawned, maxSpawned;
  };
  const Row rows[] = {{2, 500, 500}, {5, 500, 500}, {10, 320, 345}, {20, 160, 175}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.frameMs);
    cParticle f;
    RandSeed(5);
    f.ParticleInit(50, 300, 500, 300);
    std::set<int> spawned;
    int mostInOneCall = 0;
    const int calls = static_cast<int>(std::ceil(500 / 300.0 / (r.frameMs * 0.001)));
    for (int c = 0; c < calls; ++c) {
      std::vector<int> before;
      for (int i = 0; i < 500; ++i) before.push_back(f.particles[i].pending);
      StepAndShow(f, 0, 0, 0, 0, r.frameMs);
      int now = 0;
      for (int i = 0; i < 500; ++i) {
        if (before[i] == 1 && f.particles[i].pending == 0) {
          spawned.insert(i);
          ++now;
        }
      }
      mostInOneCall = std::max(mostInOneCall, now);
    }
    EXPECT_GE(static_cast<int>(spawned.size()), r.minSpawned);
    EXPECT_LE(static_cast<int>(spawned.size()), r.maxSpawned);
    EXPECT_LE(mostInOneCall, 2);
  }
}

TEST_F(ParticleTest, AParticleRisesOnItsArcAndFadesAndIsRecycledJustPastAngleOne) {
  LayOut();
  StepAndShow(fountain, 0, 0, 0, 0, 0);
  Particle& p = fountain.particles[0];
  ASSERT_EQ(p.pending, 0);
  // A clock far from every due time: nothing else spawns.
  auto draw = [&](double frameMs) {
    fountain.clock = -1.0;
    NewFrame();
    StepAndShow(fountain, 0, 0, 0, 0, frameMs);
  };
  // Two of angle per second: 0.25 s takes it from -1.5 to -1, fully opaque all the way.
  for (int i = 0; i < 25; ++i) draw(10);
  EXPECT_NEAR(p.angle, -1.0, 1e-9);
  EXPECT_NEAR(p.sx, p.spreadX * (1 + std::sin(-1.0)), 1e-9);
  EXPECT_NEAR(p.sy, -p.rise * std::cos(-1.0), 1e-9);
  p.angle = 1.0;
  draw(0);
  EXPECT_EQ(p.pending, 0) << "exactly 1.0 is not yet past";
  draw(1);
  EXPECT_EQ(p.pending, 1);
  EXPECT_EQ(p.angle, -1.5);
  ASSERT_EQ(DrawsOf("quad").size(), 1u) << "drawn once more in the call that recycles it";
  EXPECT_NEAR(DrawsOf("quad")[0].alpha, -1.002, 1e-9);
}

TEST_F(ParticleTest, TheClockWrapsOnTheFirstCallAtTheEndOfTheCycle) {
  LayOut();
  const double cycle = 500 / 300.0;
  fountain.clock = std::nextafter(cycle, 0.0);
  StepAndShow(fountain, 0, 0, 0, 0, 10);
  EXPECT_NEAR(fountain.clock, cycle + 0.01, 1e-9);
  StepAndShow(fountain, 0, 0, 0, 0, 10);
  EXPECT_EQ(fountain.clock, 0);
  fountain.clock = cycle;
  StepAndShow(fountain, 0, 0, 0, 0, 10);
  EXPECT_EQ(fountain.clock, 0) << "at exactly the cycle's length";
}

TEST_F(ParticleTest, ParticlesKeepTheOriginTheyWereSpawnedAt) {
  LayOut();
  for (int i = 0; i < 5; ++i) StepAndShow(fountain, 100, 200, 0, 0, 10);
  const int first = InFlight();
  ASSERT_GT(first, 0);
  for (int i = 0; i < 4; ++i) StepAndShow(fountain, 900, 700, 0, 0, 10);
  NewFrame();
  StepAndShow(fountain, 900, 700, 0, 0, 10);
  int atFirst = 0;
  int atSecond = 0;
  for (int i = 0; i < 500; ++i) {
    const Particle& p = fountain.particles[i];
    if (p.pending != 0) continue;
    if (p.originX == 100 && p.originY == 200) ++atFirst;
    if (p.originX == 900 && p.originY == 700) ++atSecond;
  }
  EXPECT_EQ(atFirst, first);
  EXPECT_GT(atSecond, 0);
  // And they are drawn there: an arc reaches at most twice its spread (98 px) from the origin.
  int nearFirst = 0;
  for (const DrawRecord& d : DrawsOf("quad")) nearFirst += d.x < 200;
  EXPECT_EQ(nearFirst, first);
  EXPECT_EQ(static_cast<int>(DrawsOf("quad").size()), first + atSecond);
}
