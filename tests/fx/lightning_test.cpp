// The sentinel's lightning bolt: when it appears, how long it fades, what it draws, and its shape.
#include <gtest/gtest.h>

#include <cmath>

#include "base/random.hpp"
#include "fx/fx_test_support.hpp"
#include "fx/lightning.hpp"

namespace {

struct BoltTest : FxTest {
  void SetUp() override {
    FxTest::SetUp();
    RandSeed(99);
    SetSeededRun(true);
  }
  void TearDown() override {
    SetSeededRun(false);
    FxTest::TearDown();
  }
  // One sentinel's bolt stepped and shown, from the player at (100, 400) to it at (500, 150).
  static void Bolt(uint8_t trigger, double camX, double camY, double frameMs) {
    StepLightningBolt(gameState.fx, trigger, 100, 400, 500, 150, frameMs);
    ShowLightningBolt(gameState.fx, camX, camY);
  }
  // One frame of `sentinels` sentinels processed; the first one fires when `fire`. Returns the
  // opacities of the bolt's draws in that frame (one per sentinel that drew it).
  std::vector<double> Frame(int sentinels, bool fire) {
    NewFrame();
    std::vector<double> shown;
    for (int k = 0; k < sentinels; ++k) {
      const std::size_t before = Draws().size();
      Bolt(fire && k == 0 ? 1 : 0, 10, 20, 10);
      if (Draws().size() > before) shown.push_back(Draws().back().alpha);
    }
    return shown;
  }
  // Frames in which the bolt shows at an opacity above 0, from a shot in the first.
  int VisibleFrames(int sentinels) {
    int frames = 0;
    for (int f = 0; f < 200; ++f) {
      std::vector<double> shown = Frame(sentinels, f == 0);
      if (!shown.empty() && shown.front() > 0) ++frames;
    }
    return frames;
  }
};

}  // namespace

TEST_F(BoltTest, AShotShowsAFreshBoltAtFullIntensityInTheSameFrame) {
  std::vector<double> shown = Frame(1, true);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], 1.0);
  ASSERT_EQ(Draws().size(), 5u) << "five segments";
  // From the player to the sentinel, on the screen.
  EXPECT_EQ(Draws()[0].x, 110);
  EXPECT_EQ(Draws()[0].y, 420);
  EXPECT_EQ(Draws()[4].x + Draws()[4].w, 510);
  EXPECT_EQ(Draws()[4].y + Draws()[4].h, 170);
  for (std::size_t k = 1; k < 5; ++k) {
    EXPECT_DOUBLE_EQ(Draws()[k].x, Draws()[k - 1].x + Draws()[k - 1].w) << "joined end to end";
    EXPECT_EQ(Draws()[k].depth, -1.0);
  }
  EXPECT_EQ(renderer.lastColour, (std::vector<float>{1, 1, 1, 1}));
  EXPECT_EQ(gameState.fx.boltActive, 1);
}

TEST_F(BoltTest, NothingIsDrawnWithoutAShot) {
  EXPECT_TRUE(Frame(3, false).empty());
  EXPECT_TRUE(renderer.events.empty()) << "not even the state switches";
}

TEST_F(BoltTest, TheBoltShowsFiftyFramesAtTenMillisecondsAndTwentyFiveWithTwoSentinels) {
  EXPECT_EQ(VisibleFrames(1), 50);
  EXPECT_EQ(gameState.fx.boltActive, 0);
  EXPECT_EQ(VisibleFrames(2), 25);
}

TEST_F(BoltTest, TheLastCallDrawsAtOpacityZeroAndEndsTheBolt) {
  Frame(1, true);
  for (int f = 1; f < 50; ++f) Frame(1, false);
  EXPECT_EQ(gameState.fx.boltActive, 1);
  std::vector<double> last = Frame(1, false);
  ASSERT_EQ(last.size(), 1u);
  EXPECT_NEAR(last[0], 0, 1e-12);
  EXPECT_EQ(gameState.fx.boltActive, 0);
  EXPECT_TRUE(Frame(1, false).empty());
}

TEST_F(BoltTest, TheColourIsBluishWhiteFadingToTransparent) {
  Frame(1, true);
  for (int f = 0; f < 10; ++f) Frame(1, false);
  ASSERT_EQ(renderer.lastColour.size(), 4u);
  EXPECT_NEAR(renderer.lastColour[0], 0.8, 1e-6);
  EXPECT_NEAR(renderer.lastColour[1], 0.8, 1e-6);
  EXPECT_EQ(renderer.lastColour[2], 1.0f);
  EXPECT_NEAR(renderer.lastColour[3], 0.8, 1e-6);
}

TEST_F(BoltTest, LinesAreDrawnUntexturedAndBlendedTwoPixelsWide) {
  Frame(1, true);
  const std::vector<std::string> expected = {
      "texturing off", "blend on", "alpha test off", "line",      "line",
      "line",          "line",     "line",           "blend off", "texturing on"};
  EXPECT_EQ(renderer.events, expected);
  EXPECT_EQ(renderer.lineWidth, 2.0f);
  EXPECT_FALSE(renderer.alphaTest) << "the alpha test stays off";
}

TEST_F(BoltTest, AShotWhileTheBoltFadesShowsTheOldBolt) {
  Frame(1, true);
  const auto points = gameState.fx.boltPoints;
  Frame(1, false);
  std::vector<double> again = Frame(1, true);
  EXPECT_NEAR(again[0], 0.96, 1e-6);
  EXPECT_EQ(gameState.fx.boltPoints[2].x, points[2].x);
  EXPECT_EQ(gameState.fx.boltPoints[2].y, points[2].y);
}

TEST_F(BoltTest, InnerVerticesStepEvenlyDownAndWanderSideways) {
  // From the player (100, 400) to a sentinel at (500, 150), many times over.
  for (int trial = 0; trial < 50; ++trial) {
    std::array<BoltPoint, 6> p{};
    MakeLightningBolt(5, p, 100, 400, 500, 150);
    EXPECT_EQ(p[0].x, 100);
    EXPECT_EQ(p[0].y, 400);
    EXPECT_EQ(p[5].x, 500);
    EXPECT_EQ(p[5].y, 150);
    const double slope = (400.0 - 150) / (100.0 - 500);
    const double intercept = 400 - slope * 100;
    for (int v = 1; v < 5; ++v) {
      SCOPED_TRACE(v);
      const double s = 400 + v * (150.0 - 400) / 5;
      // Pulled up by s / 10, pushed down by 0 .. trunc(s / 5) - 1.
      EXPECT_GE(p[v].y, s - s / 10 - 1e-9);
      EXPECT_LE(p[v].y, s - s / 10 + std::trunc(s / 5) - 1 + 1e-9);
      const double off = p[v].x - (p[v].y - intercept) / slope;
      EXPECT_GE(off, -50 - 1e-9);
      EXPECT_LE(off, 49 + 1e-9);
    }
  }
}

// Level and nearly level bolts look alike: no point is put where a slope near 0 would send it.
TEST_F(BoltTest, EndsSharingAnXOrAYOrNearlyLevelGiveAStraightBolt) {
  struct Row {
    double px, py, ux, uy;
  };
  const Row rows[] = {
      {300, 500, 300, 100},    // straight up
      {100, 300, 600, 300},    // level
      {250, 250, 250, 250},    // both ends at one point
      {100, 900, 600, 897.6},  // a sentinel 2.4 px above the player
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.px + r.py * 1000);
    std::array<BoltPoint, 6> p{};
    MakeLightningBolt(5, p, r.px, r.py, r.ux, r.uy);
    for (int v = 0; v <= 5; ++v) {
      EXPECT_DOUBLE_EQ(p[v].x, r.px + (r.ux - r.px) * v / 5);
      EXPECT_DOUBLE_EQ(p[v].y, r.py + (r.uy - r.py) * v / 5);
      EXPECT_TRUE(std::isfinite(p[v].x) && std::isfinite(p[v].y));
    }
  }
}

TEST_F(BoltTest, ABoltAboveTheTopOfTheWorldDrawsNoRandomDrop) {
  // Heights at or above world 0 give a bound of 0 or less: the drop is 0, never a crash.
  std::array<BoltPoint, 6> p{};
  MakeLightningBolt(5, p, 0, -100, 400, -600);
  for (int v = 1; v < 5; ++v) {
    const double s = -100 + v * (-500.0) / 5;
    EXPECT_DOUBLE_EQ(p[v].y, s - s / 10) << v;
  }
}

TEST_F(BoltTest, MoreSegmentsThanPointsIsARangeError) {
  std::array<BoltPoint, 6> p{};
  SetFatalHandler([](const std::string&) {});
  EXPECT_THROW(MakeLightningBolt(6, p, 0, 0, 10, 10), ProgramExit);
}

TEST_F(BoltTest, ABoltFadedToExactlyZeroEndsInsteadOfStartingAgain) {
  Bolt(1, 0, 0, 10);
  // Half a second in one frame takes the intensity from 1 to exactly 0.
  Bolt(0, 0, 0, 500);
  EXPECT_EQ(gameState.fx.boltIntensity, 0.0);
  EXPECT_EQ(gameState.fx.boltActive, 0);
  NewFrame();
  Bolt(0, 0, 0, 10);
  EXPECT_TRUE(Draws().empty());
}
