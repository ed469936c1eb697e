// The power-up flash, the combo text and the screen shake.
#include <gtest/gtest.h>

#include "app/game_state.hpp"
#include "base/random.hpp"
#include "fx/fx_test_support.hpp"
#include "fx/screen_effects.hpp"
#include "game/level.hpp"
#include "game/screen_shake.hpp"

namespace {

struct ScreenEffectsTest : FxTest {
  void SetUp() override {
    FxTest::SetUp();
    gameState.map.CharCount = 3;
    gameState.fontTexture = 77;
  }
  // The power-up's flash as it follows a processed unit (the player's effects are only that).
  static void Flash(uint8_t flag) {
    gameState.play.powerUpActive = flag;
    RunUnitEffects(Scene(), 0);
  }
  // Frames of `calls` flashes each until the flag clears; returns the frames that drew it.
  int FlashFrames(int calls) {
    uint8_t& flag = gameState.play.powerUpActive;
    flag = 1;
    int shown = 0;
    for (int frame = 0; frame < 500 && flag != 0; ++frame) {
      NewFrame();
      for (int c = 0; c < calls; ++c) Flash(flag);
      shown += !DrawsOf("quad").empty();
    }
    return shown;
  }
};

}  // namespace

TEST_F(ScreenEffectsTest, TheFlashFadesInASecondAndInAQuarterWithFourProcessedUnits) {
  EXPECT_EQ(FlashFrames(1), 100);
  EXPECT_EQ(gameState.fx.whiteFlashOpacity, 1.0) << "ready for the next power-up";
  EXPECT_EQ(FlashFrames(4), 25);
  EXPECT_EQ(gameState.play.powerUpActive, 0) << "the faded flash ends the power-up";
}

TEST_F(ScreenEffectsTest, TheFlashCoversTheScreenWithTheDepthTestOff) {
  Flash(1);
  ASSERT_EQ(Draws().size(), 1u);
  const DrawRecord& d = Draws()[0];
  EXPECT_EQ(d.texturePath, "data\\fx\\wSquare.tga");
  EXPECT_EQ(d.x, 0);
  EXPECT_EQ(d.y, 0);
  EXPECT_EQ(d.w, 800);
  EXPECT_EQ(d.h, 600);
  EXPECT_EQ(d.depth, -0.05);
  EXPECT_DOUBLE_EQ(d.alpha, 0.99);
  EXPECT_EQ(renderer.events, (std::vector<std::string>{"depth off", "quad", "depth on"}));
}

TEST_F(ScreenEffectsTest, ReducedFlashesAreDrawnAtAQuarterAndLastAsLong) {
  gameState.playerSettings.reducedFlashes = true;
  Flash(1);
  ASSERT_EQ(Draws().size(), 1u);
  EXPECT_DOUBLE_EQ(Draws()[0].alpha, 0.99 * 0.25);
  EXPECT_DOUBLE_EQ(gameState.fx.whiteFlashOpacity, 0.99) << "the game's own state is as ever";
  EXPECT_EQ(FlashFrames(1), 99);
}

TEST_F(ScreenEffectsTest, NoFlashLoadsOrDrawsWhileTheFlagIsClear) {
  Flash(0);
  EXPECT_TRUE(Draws().empty());
  EXPECT_EQ(gameState.fx.whiteFlashLoaded, 0);
}

TEST_F(ScreenEffectsTest, TheComboTextShowsOverThePlayerForEachStunnedEnemy) {
  Unit& p = PlayerUnit();
  p.x = 400;
  p.y = 300;
  p.boxLeft = -30;
  p.boxTop = -50;
  gameState.play.cameraX = -100;
  gameState.play.cameraY = 25;
  struct Row {
    uint8_t level;
    int unit;
    uint8_t stunned;
    bool drawn;
  };
  const Row rows[] = {
      {3, 1, 1, true}, {7, 2, 1, true}, {3, 0, 1, false}, {0, 1, 1, false}, {3, 1, 0, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.level * 100 + r.unit * 10 + r.stunned);
    NewFrame();
    gameState.play.combo.comboLevel = r.level;
    UnitAt(r.unit).stunned = r.stunned;
    DrawComboText(Scene(), r.unit);
    ASSERT_EQ(Draws().size(), r.drawn ? 1u : 0u);
    if (!r.drawn) continue;
    const DrawRecord& d = Draws()[0];
    EXPECT_EQ(d.text, "combo " + std::to_string(r.level));
    EXPECT_EQ(d.size, 16);
    EXPECT_EQ(d.x, -30 + 400 - 100);
    EXPECT_EQ(d.y, -50 + 300 - 20 + 25);
    EXPECT_EQ(d.texture, 77u);
  }
}

TEST_F(ScreenEffectsTest, AShakeLastsHalfASecondJoltingTheWorldDownAgainstThePlayer) {
  RandSeed(11);
  Unit& p = PlayerUnit();
  p.x = 500;
  p.y = 400;
  gameState.play.cameraX = -100;
  gameState.play.cameraY = 0;
  uint8_t flag = 1;
  int calls = 0;
  int minDx = 100, maxDx = -100, minDy = 100, maxDy = -100;
  while (flag != 0 && calls < 200) {
    const double camX = gameState.play.cameraX;
    const double camY = gameState.play.cameraY;
    ShakeScreen(gameState.play, flag, gameState.morva.frameTime);
    ++calls;
    const int dx = static_cast<int>(gameState.play.cameraX - camX);
    const int dy = static_cast<int>(gameState.play.cameraY - camY);
    minDx = std::min(minDx, dx);
    maxDx = std::max(maxDx, dx);
    minDy = std::min(minDy, dy);
    maxDy = std::max(maxDy, dy);
    // The player stays where it is on the screen.
    EXPECT_EQ(p.x + gameState.play.cameraX, 400);
    EXPECT_EQ(p.y + gameState.play.cameraY, 400);
  }
  // 50 calls of 10 ms take the timer to 0.5 s; the 51st ends the shake and still jolts.
  EXPECT_EQ(calls, 51);
  EXPECT_EQ(gameState.play.shakeTimer, 0);
  EXPECT_EQ(minDx, -5);
  EXPECT_EQ(maxDx, 4);
  EXPECT_EQ(minDy, 0);
  EXPECT_EQ(maxDy, 9);
  EXPECT_GT(gameState.play.cameraY, 51 * 2) << "the world drifts downwards";
  EXPECT_LT(p.y, 400 - 51 * 2) << "and the player is lifted as much";
}

TEST_F(ScreenEffectsTest, NoShakeWhileTheFlagIsClear) {
  uint8_t flag = 0;
  PlayerUnit().y = 400;
  ShakeScreen(gameState.play, flag, gameState.morva.frameTime);
  EXPECT_EQ(PlayerUnit().y, 400);
  EXPECT_EQ(gameState.play.cameraY, 0);
  EXPECT_EQ(gameState.play.shakeTimer, 0);
}

TEST_F(ScreenEffectsTest, TheShakeEndsOnTheCallThatFindsHalfASecondAlreadyRun) {
  struct Row {
    double timer;
    uint8_t flagAfter;
    double timerAfter;
  };
  const Row rows[] = {{0.5, 0, 0}, {0.6, 0, 0}, {0.49, 1, 0.5}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.timer);
    gameState.play.shakeTimer = r.timer;
    uint8_t flag = 1;
    const double camY = gameState.play.cameraY;
    const double y = PlayerUnit().y;
    ShakeScreen(gameState.play, flag, gameState.morva.frameTime);
    EXPECT_EQ(flag, r.flagAfter);
    EXPECT_NEAR(gameState.play.shakeTimer, r.timerAfter, 1e-12);
    EXPECT_EQ(gameState.play.cameraY - camY, y - PlayerUnit().y) << "and it still jolts";
  }
}
