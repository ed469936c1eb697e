// The effects of one processed unit, in their order and with their conditions: the bolt, the
// blood (only with blood shown), the explosion, the golem's shake, the combo text and the flash.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "app/game_state.hpp"
#include "content/level_load.hpp"
#include "fx/fx_test_support.hpp"
#include "fx/unit_effects.hpp"
#include "game/level.hpp"

namespace {

struct UnitEffectsTest : FxTest {
  void SetUp() override {
    FxTest::SetUp();
    LoadEffects();
    gameState.settings.showBlood = 1;
    gameState.map.CharCount = 3;
    Unit& p = PlayerUnit();
    p.kind = kPlayer;
    p.x = 300;
    p.y = 400;
    p.life = 100;
    gameState.play.cameraX = 100;
    gameState.play.cameraY = -50;
  }
  Unit& Enemy(UnitKind kind) {
    Unit& u = UnitAt(1);
    u.kind = kind;
    u.x = 500;
    u.y = 380;
    u.life = 50;
    u.boxLeft = -25;
    u.boxTop = -60;
    u.boxRight = 25;
    u.boxBottom = 56;
    u.deathTime = 0;
    u.deathEffect = u.airborne = u.stunned = u.hitNow = u.headOff = u.fireNow = 0;
    return u;
  }
  // One frame of the unit's effects; the draws it made.
  const std::vector<DrawRecord>& Effects(int i = 1) {
    NewFrame();
    RunUnitEffects(Scene(), i);
    return Draws();
  }
  int Count(const std::string& op, const std::string& pathPart = "") {
    return static_cast<int>(DrawsOf(op, pathPart).size());
  }
};

}  // namespace

TEST_F(UnitEffectsTest, TheFountainSpoutsOnlyFromAGuardBeheadedLessThanTwoSecondsAgo) {
  struct Row {
    uint8_t showBlood;
    UnitKind kind;
    int32_t life;
    uint8_t headOff;
    double deathTime;
    bool bleeds;
  };
  const Row rows[] = {
      {1, kGuard, 0, 1, 0.5, true},     {1, kGuard, -20, 1, 1.99, true},
      {1, kGuard, 1, 1, 0.5, false},  // still alive
      {1, kGuard, 0, 0, 0.5, false},  // killed with the head on
      {1, kGuard, 0, 1, 2.0, false},  // the two seconds are over
      {0, kGuard, 0, 1, 0.5, false},  // blood switched off
      {1, kGolem, 0, 1, 0.5, false},  // only guards lose their heads
      {1, kSentinel, 0, 1, 0.5, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.kind) + " life " + std::to_string(r.life) + " head " +
                 std::to_string(r.headOff) + " t " + std::to_string(r.deathTime));
    gameState.settings.showBlood = r.showBlood;
    Unit& u = Enemy(r.kind);
    u.life = r.life;
    u.headOff = r.headOff;
    u.deathTime = r.deathTime;
    u.airborne = 1;  // keeps a dead sentinel from exploding here
    const double clock = gameState.fx.bloodParticles.clock;
    Effects();
    // Particles spawned in earlier rows are still in flight.
    EXPECT_EQ(Count("quad", "blood_particle") > 0, r.bleeds);
    EXPECT_EQ(gameState.fx.bloodParticles.clock > clock, r.bleeds) << "the fountain advances";
  }
}

TEST_F(UnitEffectsTest, TheFountainRisesFromTheGuardOnTheScreen) {
  Unit& u = Enemy(kGuard);
  u.life = 0;
  u.headOff = 1;
  Effects();
  ASSERT_EQ(Count("quad", "blood_particle"), 1);
  const Particle& p = gameState.fx.bloodParticles.particles[0];
  EXPECT_EQ(p.originX, 500);
  EXPECT_EQ(p.originY, 380);
  const DrawRecord d = DrawsOf("quad", "blood_particle")[0];
  EXPECT_NEAR(d.x, p.spreadX * (1 + std::sin(p.angle)) + 500 + 100, 1e-9);
  EXPECT_NEAR(d.y, -p.rise * std::cos(p.angle) + 380 - 50, 1e-9);
}

TEST_F(UnitEffectsTest, TheSprayFliesOffTheFarSideOfAStunnedGuard) {
  struct Row {
    uint8_t facingLeft;
    bool mirrored;
    double x;
  };
  // Box sides at x 500 - 25 and 500 + 25, 30 px beyond, on the screen (+100).
  const Row rows[] = {{1, false, 100 + 500 - 25 - 30}, {0, true, 25 + 500 + 100 + 30}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.facingLeft);
    Unit& u = Enemy(kGuard);
    u.stunned = 1;
    PlayerUnit().facingLeft = r.facingLeft;
    Effects();
    ASSERT_EQ(Count("anim", "bloodSpray"), 1);
    const DrawRecord d = DrawsOf("anim", "bloodSpray")[0];
    EXPECT_EQ(d.mirrored, r.mirrored);
    EXPECT_EQ(d.x, r.x);
    EXPECT_EQ(d.y, -60 + 380 - 50 - 20);
    EXPECT_EQ(d.depth, -0.2);
    EXPECT_EQ(gameState.fx.bloodSpray.frameCount, 5);
    EXPECT_EQ(gameState.fx.bloodSpray.playing, 1);
  }
}

TEST_F(UnitEffectsTest, TheSprayLoopsWhileTheGuardIsStunnedAndRestartsOnAHit) {
  Unit& u = Enemy(kGuard);
  u.stunned = 1;
  cAnim& spray = gameState.fx.bloodSpray;
  std::set<int> shown;
  for (int f = 0; f < 40; ++f) {
    Effects();
    shown.insert(spray.current);
  }
  EXPECT_EQ(shown, (std::set<int>{0, 1, 2, 3, 4})) << "the five pictures in a loop";
  // A hit in a frame that does not change the picture shows the first picture again.
  while (!(spray.current == 3 && spray.elapsed == 0)) Effects();
  u.hitNow = 1;
  Effects();
  EXPECT_EQ(DrawsOf("anim", "bloodSpray")[0].texturePath, "DATA\\fx\\bloodSpray\\0.dxt");
  u.hitNow = 0;
  u.stunned = 0;
  Effects();
  EXPECT_EQ(Count("anim", "bloodSpray"), 0);
  gameState.settings.showBlood = 0;
  u.stunned = 1;
  Effects();
  EXPECT_EQ(Count("anim", "bloodSpray"), 0) << "blood switched off";
}

TEST_F(UnitEffectsTest, ASentinelArmsItsExplosionAsItDiesAndExplodesOnTheGround) {
  struct Row {
    double deathTime;
    uint8_t airborne;
    bool armed, explodes;
  };
  const Row rows[] = {
      {0.0, 0, true, true},    {0.049, 0, true, true},  // on the ground: at once
      {0.0, 1, true, false},                            // in the air: armed, waits
      {0.05, 0, false, false}, {1.0, 0, false, false},  // too late to arm
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.deathTime) + " airborne " + std::to_string(r.airborne));
    Unit& u = Enemy(kSentinel);
    u.life = 0;
    u.deathEffect = 0;
    u.deathTime = r.deathTime;
    u.airborne = r.airborne;
    Effects();
    EXPECT_EQ(Count("anim", "blow1"), r.explodes ? 1 : 0);
    EXPECT_EQ(u.deathEffect, r.armed ? 1 : 0);
  }
}

TEST_F(UnitEffectsTest, ALandedSentinelExplodesAtItsPlaceUntilTheExplosionHasRun) {
  Unit& u = Enemy(kSentinel);
  u.life = 0;
  u.airborne = 1;
  Effects();
  ASSERT_EQ(u.deathEffect, 1);
  u.deathTime = 0.5;
  u.airborne = 0;
  int calls = 0;
  while (u.deathEffect != 0 && calls < 50) {
    Effects();
    ++calls;
    const DrawRecord d = DrawsOf("anim", "blow1").at(0);
    EXPECT_EQ(d.x, 500 + 100);
    EXPECT_EQ(d.y, 380 - 50);
    EXPECT_EQ(d.w, 128);
    EXPECT_EQ(d.depth, -0.1);
  }
  EXPECT_EQ(calls, 10);
  EXPECT_EQ(u.blowSoundGate, 1.0);
  Effects();
  EXPECT_EQ(Count("anim", "blow1"), 0) << "once only";
}

TEST_F(UnitEffectsTest, AGolemShakesTheScreenOnlyFromAFrameInsideItsWindow) {
  struct Row {
    double deathTime;
    bool shakes;
  };
  const Row rows[] = {{2.0, false}, {2.0001, true}, {2.0999, true}, {2.1, false}, {1.9, false}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.deathTime);
    Unit& u = Enemy(kGolem);
    u.life = 0;
    u.deathEffect = 0;
    u.deathTime = r.deathTime;
    const double camY = gameState.play.cameraY;
    const double timer = gameState.play.shakeTimer;
    Effects();
    EXPECT_EQ(u.deathEffect, r.shakes ? 1 : 0);
    EXPECT_EQ(gameState.play.shakeTimer > timer, r.shakes);
    EXPECT_GE(gameState.play.cameraY, camY);
    gameState.play.shakeTimer = 0;
  }
  // A golem whose frames step over the window (100 ms frames: 1.95, then 2.15) never shakes.
  Unit& u = Enemy(kGolem);
  u.life = 0;
  u.deathEffect = 0;
  for (double t : {1.95, 2.15, 2.25}) {
    u.deathTime = t;
    Effects();
    EXPECT_EQ(u.deathEffect, 0) << t;
  }
}

TEST_F(UnitEffectsTest, BoltExplosionAndShakeDoNotDependOnTheBloodSetting) {
  gameState.settings.showBlood = 0;
  Unit& s = Enemy(kSentinel);
  s.fireNow = 1;
  Effects();
  EXPECT_EQ(Count("line"), 5);
  s.life = 0;
  s.fireNow = 0;
  gameState.fx.boltActive = 0;
  Effects();
  EXPECT_EQ(Count("anim", "blow1"), 1);
  Unit& g = Enemy(kGolem);
  g.life = 0;
  g.deathTime = 2.05;
  Effects();
  EXPECT_EQ(g.deathEffect, 1);
}

TEST_F(UnitEffectsTest, TheBoltIsDrawnFromThePlayerToEverySentinelAndOnlyForSentinels) {
  for (UnitKind kind : {kGuard, kGolem}) {
    Unit& u = Enemy(kind);
    u.fireNow = 1;
    Effects();
    EXPECT_EQ(Count("line"), 0) << kind;
  }
  Unit& s = Enemy(kSentinel);
  s.fireNow = 1;
  Effects();
  ASSERT_EQ(Count("line"), 5);
  EXPECT_EQ(Draws()[0].x, 300 + 100);
  EXPECT_EQ(Draws()[0].y, 400 - 50);
  EXPECT_EQ(Draws()[4].x + Draws()[4].w, 500 + 100);
}

TEST_F(UnitEffectsTest, ComboTextAndFlashComeLastForEveryProcessedUnit) {
  Unit& u = Enemy(kGuard);
  u.stunned = 1;
  gameState.play.combo.comboLevel = 2;
  gameState.play.powerUpActive = 1;
  Effects();
  ASSERT_GE(Draws().size(), 3u);
  const std::size_t n = Draws().size();
  EXPECT_NE(Draws()[n - 3].texturePath.find("bloodSpray"), std::string::npos);
  EXPECT_EQ(Draws()[n - 2].text, "combo 2");
  EXPECT_EQ(Draws()[n - 1].texturePath, "data\\fx\\wSquare.tga");
  Effects(0);
  EXPECT_EQ(Count("text"), 0) << "never over the player's own slot";
  EXPECT_EQ(Count("quad", "wSquare"), 1) << "but the flash is drawn for it too";
}
