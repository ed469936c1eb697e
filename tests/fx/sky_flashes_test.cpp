// Sky flashes: the first after 5.7 s, then one at the end of every 12..21 s period, held 0.3 s and
// faded over a second, with thunder started in a 50 ms window.
#include <gtest/gtest.h>

#include <set>

#include "app/game_state.hpp"
#include "audio/sound.hpp"
#include "base/random.hpp"
#include "fx/fx_test_support.hpp"
#include "fx/scene.hpp"
#include "fx/sky_flashes.hpp"

namespace {

struct SkyTest : FxTest {
  void SetUp() override {
    FxTest::SetUp();
    RandSeed(3);
    SetSeededRun(true);
    gameState.settings.soundVolume = 90;
  }
  void TearDown() override {
    SetSeededRun(false);
    FxTest::TearDown();
  }
  // One step and show in a fresh frame; the flash's draw, if any.
  std::vector<DrawRecord> Step(double frameMs = 10) {
    NewFrame();
    gameState.morva.frameTime = frameMs;
    StepSkyFlashes(Scene());
    ShowSkyFlash(Scene());
    return DrawsOf("quad");
  }
  StreamInfo Thunder() const {
    for (const StreamInfo& s : fake.audio.Streams()) {
      if (s.path == "DATA\\sounds\\fx\\thunder1.wav") return s;
    }
    return {};
  }
};

}  // namespace

TEST_F(SkyTest, NoFlashInTheFirstFivePointSevenSeconds) {
  int firstFlash = 0;
  for (int call = 1; call <= 700 && firstFlash == 0; ++call) {
    if (!Step().empty()) firstFlash = call;
  }
  // 570 steps of 10 ms, summed in single precision, are the first to pass 5.7 s.
  EXPECT_EQ(firstFlash, 570);
  EXPECT_GT(gameState.fx.skyTimer, 5.7f);
  EXPECT_TRUE(shownMessages.empty());
}

TEST_F(SkyTest, TheFlashCoversTheBackgroundHeldThenFading) {
  PlayerUnit().x = 1000;
  PlayerUnit().y = 500;
  gameState.fx.skyTimer = 5.69f;
  std::vector<double> alphas;
  for (int call = 0; call < 140; ++call) {
    std::vector<DrawRecord> q = Step();
    if (q.empty()) continue;
    ASSERT_EQ(q.size(), 1u);
    EXPECT_EQ(q[0].texturePath, "data\\fx\\lightning.dxt");
    EXPECT_EQ(q[0].x, BackgroundX(PlayerUnit()));
    EXPECT_EQ(q[0].y, BackgroundY(PlayerUnit()));
    EXPECT_EQ(q[0].x, -500);
    EXPECT_EQ(q[0].y, -650);
    EXPECT_EQ(q[0].w, 3200);
    EXPECT_EQ(q[0].h, 1600);
    EXPECT_EQ(q[0].depth, -3.1);
    alphas.push_back(q[0].alpha);
  }
  // Shown from 5.7 s to the end of the 7 s period: 130 frames, the first 30 or so at full
  // brightness, then one hundredth less each frame.
  ASSERT_GE(alphas.size(), 129u);
  ASSERT_LE(alphas.size(), 131u);
  for (std::size_t k = 0; k < 30; ++k) EXPECT_EQ(alphas[k], 1.0) << k;
  EXPECT_LT(alphas[32], 1.0);
  EXPECT_NEAR(alphas.back(), 0.0, 0.03);
}

TEST_F(SkyTest, EveryNewPeriodLastsTwelveToTwentyOneSeconds) {
  std::set<float> periods;
  for (int period = 0; period < 60; ++period) {
    gameState.fx.skyTimer = gameState.fx.nextFlash;
    Step();
    EXPECT_EQ(gameState.fx.skyTimer, 0) << "the new period starts at 0";
    EXPECT_EQ(gameState.fx.flashAlpha, 1.0f);
    EXPECT_EQ(gameState.fx.flashHold, 0);
    periods.insert(gameState.fx.nextFlash);
  }
  EXPECT_EQ(*periods.begin(), 12);
  EXPECT_EQ(*periods.rbegin(), 21);
  EXPECT_EQ(periods.size(), 10u);
}

TEST_F(SkyTest, ThunderStartsOnlyWhenAFrameEndsInItsWindow) {
  // The window lies strictly between 0.5 and 0.45 s before the period's end (6.5 .. 6.55 s).
  struct Row {
    float timer;
    double frameMs;
    bool thunder;
  };
  const Row rows[] = {
      {6.49f, 10, false},   // lands on 6.5 exactly: the near edge
      {6.50f, 10, true},    // 6.51
      {6.40f, 120, true},   // 6.52
      {6.53f, 10, true},    // 6.54
      {6.44f, 110, false},  // 6.55: the far edge
      {6.40f, 200, false},  // 6.6: jumps over the window
      {6.30f, 10, false},   // before it
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.timer + r.frameMs);
    gameState.fx.skyTimer = r.timer;
    gameState.fx.nextFlash = 7;
    gameState.fx.thunderPlaying = 0;
    Step(r.frameMs);
    EXPECT_EQ(gameState.fx.thunderPlaying, r.thunder ? 1 : 0);
    EXPECT_EQ(Thunder().playing, r.thunder);
    cSND::Stop(gameState.fx.thunderSound);
  }
}

TEST_F(SkyTest, TheThunderPlaysAtTheEffectsVolumeToItsEnd) {
  gameState.fx.skyTimer = 6.45f;
  // Every frame inside the window starts the thunder afresh; it plays on from the last of them.
  while (gameState.fx.skyTimer < 6.56f) Step();
  EXPECT_EQ(gameState.fx.thunderPlaying, 1);
  EXPECT_TRUE(Thunder().playing);
  EXPECT_EQ(Thunder().volume, 90);
  fake.audio.Advance(60000);
  Step();
  EXPECT_EQ(gameState.fx.thunderPlaying, 0) << "cleared once it has played to its end";
}
