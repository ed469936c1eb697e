// Guards and golems on hand-built fights: the guard's approach, strike, stun, launch and death;
// the golem's stand-off, blow variant, cycle, stun and death; kinds that do not act.
#include <gtest/gtest.h>

#include <cmath>

#include "app/game_state.hpp"
#include "base/random.hpp"
#include "game/combat_test_support.hpp"
#include "game/enemy.hpp"
#include "game/enemy_kinds.hpp"

namespace {

constexpr double kPlayerX = 1000;
constexpr double kPlayerY = 800;
// A guard's and a golem's step in one 10 ms frame.
constexpr double kGuardStep = 0.11 * 10;
constexpr double kGolemStep = 0.05 * 10;

struct EnemyTest : ::testing::Test {
  Fight fight;
  Unit* player = nullptr;
  void SetUp() override { player = &fight.Player(kPlayerX, kPlayerY); }
};

}  // namespace

TEST_F(EnemyTest, AGuardWalksUntilTheBodiesTouchAndStrikesWithinReach) {
  // Bodies touch at 30 px (player 14 + guard 15 + 1); the strike reaches 34 px across and 117 px
  // up or down.
  struct Row {
    double dx, dy;
    double moveX;
    int attack;
  } rows[] = {
      {31, 0, -kGuardStep, 1}, {30, 0, 0, 1},  {-31, 0, kGuardStep, 1}, {-30, 0, 0, 1},
      {40, 0, -kGuardStep, 0}, {0, 116, 0, 1}, {0, 117, 0, 0},          {0, -117, 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.dx << ", " << r.dy);
    fight.Player(kPlayerX, kPlayerY);
    Unit& g = fight.Add(kGuard, kPlayerX + r.dx, kPlayerY + r.dy);
    g.attackTime = 0.5;
    UpdateEnemy(Frame(), 1);
    EXPECT_NEAR(g.x - (kPlayerX + r.dx), r.moveX, 1e-9);
    EXPECT_EQ(g.moving, r.moveX != 0 ? 1 : 0);
    EXPECT_EQ(g.attack, r.attack);
    // Walking restarts the strike cycle.
    const double cycle = r.moveX != 0 ? 0.0 : 0.5;
    EXPECT_NEAR(g.attackTime, r.attack ? cycle + 0.01 : cycle, 1e-9);
  }

  // From 100 px away it walks up, stops touching and keeps striking while the player stays.
  fight.Player(kPlayerX, kPlayerY);
  Unit& g = fight.Add(kGuard, kPlayerX + 100, kPlayerY);
  int frames = 0;
  while (g.moving == 1 || frames == 0) {
    UpdateEnemy(Frame(), 1);
    ASSERT_LT(++frames, 200);
  }
  EXPECT_LE(g.x - kPlayerX, 30.0);
  EXPECT_GT(g.x - kPlayerX, 30.0 - kGuardStep);
  for (int k = 0; k < 100; ++k) {
    UpdateEnemy(Frame(), 1);
    ASSERT_EQ(g.attack, 1);
    ASSERT_EQ(g.moving, 0);
  }
}

TEST_F(EnemyTest, TheGuardsStrikeCycleWrapsAt077s) {
  Unit& g = fight.Add(kGuard, kPlayerX + 20, kPlayerY);
  g.attackTime = 0.765;
  UpdateEnemy(Frame(), 1);
  EXPECT_NEAR(g.attackTime, 0.775, 1e-9);
  UpdateEnemy(Frame(), 1);
  EXPECT_EQ(g.attackTime, 0.0);
}

TEST_F(EnemyTest, AStunnedGuardStandsFor08sAndAGuardFacesThePlayerOnlyAlive) {
  Unit& g = fight.Add(kGuard, kPlayerX + 100, kPlayerY);
  g.stunned = 1;
  g.stunTime = 0.795;
  UpdateEnemy(Frame(), 1);
  EXPECT_NEAR(g.stunTime, 0.805, 1e-9);
  EXPECT_EQ(g.x, kPlayerX + 100) << "stunned: no walking";
  EXPECT_EQ(g.facingLeft, 1) << "still turns to the player";
  UpdateEnemy(Frame(), 1);
  EXPECT_EQ(g.stunned, 0);
  EXPECT_EQ(g.stunTime, 0.0);
  EXPECT_NEAR(g.x, kPlayerX + 100 - kGuardStep, 1e-9) << "walks in the frame the stun ends";

  g.life = 0;
  g.x = kPlayerX - 100;
  UpdateEnemy(Frame(), 1);
  EXPECT_EQ(g.facingLeft, 1) << "a dead guard keeps its facing";
  EXPECT_EQ(g.x, kPlayerX - 100);
}

TEST_F(EnemyTest, TheFourthAttackThrowsAGuardOncePerFlightAndNotLongDead) {
  struct Row {
    int attackKind, hitNow, launchLock, life;
    double deathTime;
    int launched;
  } rows[] = {
      {4, 1, 0, 30, 0, 1}, {3, 1, 0, 30, 0, 0},   {4, 0, 0, 30, 0, 0},
      {4, 1, 1, 30, 0, 0}, {4, 1, 0, 0, 1.99, 1}, {4, 1, 0, 0, 2.0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.attackKind << r.hitNow << r.launchLock << r.deathTime);
    fight.Player(kPlayerX, kPlayerY);
    Unit& g = fight.Add(kGuard, kPlayerX - 20, kPlayerY);
    GuardPlayState& flight = KindStateOf<GuardPlayState>(g);
    gameState.play.combo.attackKind = static_cast<uint8_t>(r.attackKind);
    player->hitNow = static_cast<uint8_t>(r.hitNow);
    player->facingLeft = 1;
    flight.launchLock = static_cast<uint8_t>(r.launchLock);
    g.life = r.life;
    g.deathTime = r.deathTime;
    UpdateEnemy(Frame(), 1);
    EXPECT_EQ(flight.launched, r.launched);
    if (r.launched) {
      EXPECT_EQ(g.pushDir, -1);
      EXPECT_EQ(flight.launchLock, 1);
      EXPECT_NEAR(g.x, kPlayerX - 20 - 5, 1e-9);
      EXPECT_NEAR(g.y, kPlayerY + std::sin(-2.0) * 11, 1e-9) << "rises first";
      EXPECT_NEAR(KindStateOf<GuardKeptState>(g).launchPhase, -1.97, 1e-9);
    }
  }

  // A whole flight of a freshly killed guard (which does not walk back meanwhile): another fourth
  // attack landing mid-flight does not start it again; it lands after about 833 ms, moving in
  // its landing frame too.
  fight.Player(kPlayerX, kPlayerY);
  Unit& g = fight.Add(kGuard, kPlayerX + 20, kPlayerY);
  const GuardPlayState& flight = KindStateOf<GuardPlayState>(g);
  g.life = 0;
  gameState.play.combo.attackKind = 4;
  player->hitNow = 1;
  player->facingLeft = 0;
  int frames = 0;
  double lowest = g.y;
  do {
    const double x0 = g.x;
    UpdateEnemy(Frame(), 1);
    lowest = std::min(lowest, g.y);
    ASSERT_NEAR(g.x - x0, 5.0, 1e-9);
    ASSERT_LT(++frames, 200);
  } while (flight.launched == 1);
  EXPECT_EQ(frames, 85);
  EXPECT_EQ(flight.launchLock, 0);
  EXPECT_LT(lowest, kPlayerY - 100) << "it flew up";
}

TEST_F(EnemyTest, ADeadGuardStopsStrikingAndIsDoneAfter5s) {
  struct Row {
    double deathTime, after;
    int done;
  } rows[] = {{0, 0.01, 0}, {4.995, 5.005, 0}, {5.0, 5.0, 1}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.deathTime);
    fight.Player(kPlayerX, kPlayerY);
    Unit& g = fight.Add(kGuard, kPlayerX + 20, kPlayerY);
    g.life = -5;
    g.attack = 1;
    g.stunned = 1;
    g.deathTime = r.deathTime;
    UpdateEnemy(Frame(), 1);
    EXPECT_EQ(g.attack, 0);
    EXPECT_NEAR(g.deathTime, r.after, 1e-9);
    EXPECT_EQ(g.deathDone, r.done);
    EXPECT_EQ(g.stunned, r.done ? 0 : 1);
    EXPECT_EQ(g.x, kPlayerX + 20);
  }
}

TEST_F(EnemyTest, AGolemStopsFurtherOutAndKeepsItsBlowUntilItWalksAgain) {
  RandSeed(11);
  // It stops 148 px away: 34 + 14 + 100.
  struct Row {
    double dx, moveX;
  } rows[] = {{149, -kGolemStep}, {148, 0}, {-149, kGolemStep}, {-148, 0}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.dx);
    fight.Player(kPlayerX, kPlayerY);
    Unit& g = fight.Add(kGolem, kPlayerX + r.dx, kPlayerY + 300);  // no vertical test
    uint8_t& variant = KindStateOf<GolemPlayState>(g).attackVariant;
    variant = 2;
    g.attack = 2;
    g.attackTime = 0.3;
    UpdateEnemy(Frame(), 1);
    EXPECT_NEAR(g.x - (kPlayerX + r.dx), r.moveX, 1e-9);
    if (r.moveX != 0) {
      EXPECT_EQ(g.moving, 1);
      EXPECT_EQ(g.attack, 0);
      EXPECT_EQ(g.attackTime, 0.0);
      EXPECT_TRUE(variant == 1 || variant == 2);
    } else {
      EXPECT_EQ(g.moving, 0);
      EXPECT_EQ(g.attack, 2);
      EXPECT_NEAR(g.attackTime, 0.31, 1e-9);
    }
  }

  // Standing in reach it repeats the same blow; each walk draws again, and both blows come up.
  fight.Player(kPlayerX, kPlayerY);
  Unit& g = fight.Add(kGolem, kPlayerX + 100, kPlayerY);
  uint8_t& variant = KindStateOf<GolemPlayState>(g).attackVariant;
  variant = 1;
  for (int k = 0; k < 300; ++k) {
    UpdateEnemy(Frame(), 1);
    ASSERT_EQ(g.attack, 1);
  }
  int seen[3] = {};
  for (int k = 0; k < 40; ++k) {
    g.x = kPlayerX + 149;
    UpdateEnemy(Frame(), 1);
    ++seen[variant];
  }
  EXPECT_EQ(seen[0], 0);
  EXPECT_GT(seen[1], 0);
  EXPECT_GT(seen[2], 0);
}

TEST_F(EnemyTest, AGolemThatNeverWalkedDoesNotStrikeAndItsCycleWrapsAt14s) {
  Unit& g = fight.Add(kGolem, kPlayerX + 100, kPlayerY);
  g.attackTime = 1.395;
  UpdateEnemy(Frame(), 1);
  EXPECT_EQ(g.attack, 0) << "variant 0";
  EXPECT_NEAR(g.attackTime, 1.405, 1e-9);
  UpdateEnemy(Frame(), 1);
  EXPECT_EQ(g.attackTime, 0.0);
}

TEST_F(EnemyTest, AGolemIsStunnedFor1sAndDeadItOnlyCountsItsDeath) {
  Unit& g = fight.Add(kGolem, kPlayerX - 300, kPlayerY);
  g.stunned = 1;
  g.stunTime = 0.995;
  UpdateEnemy(Frame(), 1);
  EXPECT_EQ(g.stunned, 1);
  EXPECT_EQ(g.facingLeft, 0);
  EXPECT_EQ(g.x, kPlayerX - 300);
  UpdateEnemy(Frame(), 1);
  EXPECT_EQ(g.stunned, 0);
  EXPECT_NEAR(g.x, kPlayerX - 300 + kGolemStep, 1e-9);

  g.life = 0;
  g.moving = g.idle = g.attack = g.stunned = g.jumping = 1;
  g.deathTime = 4.995;
  UpdateEnemy(Frame(), 1);
  EXPECT_EQ(g.moving + g.idle + g.attack + g.stunned + g.jumping, 0);
  EXPECT_EQ(g.deathDone, 0);
  UpdateEnemy(Frame(), 1);
  EXPECT_EQ(g.deathDone, 1);
  EXPECT_NEAR(g.deathTime, 5.005, 1e-9);
}

TEST_F(EnemyTest, ThePlayerAndUnnamedKindsAreLeftAlone) {
  Unit& odd = fight.Add(kGuard, kPlayerX + 100, kPlayerY);
  odd.kind = 5;
  UpdateEnemy(Frame(), 0);
  UpdateEnemy(Frame(), 1);
  EXPECT_EQ(player->x, kPlayerX);
  EXPECT_EQ(player->moving, 0);
  EXPECT_EQ(odd.x, kPlayerX + 100);
  EXPECT_EQ(odd.moving, 0);
}
