// Enemy behaviour on hand-built fights: the sentinel's follow, height, hover, fire timer and
// knock-back; the guard's approach, strike, stun, launch and death; the golem's stand-off, blow
// variant, cycle, stun and death.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "app/random.hpp"
#include "game/combat_test_support.hpp"
#include "game/enemy.hpp"
#include "game/units.hpp"

namespace {

constexpr double kPlayerX = 1000;
constexpr double kPlayerY = 800;
// A sentinel's, guard's and golem's step in one 10 ms frame.
constexpr double kSentinelStep = 0.14 * 10;
constexpr double kGuardStep = 0.11 * 10;
constexpr double kGolemStep = 0.05 * 10;

struct EnemyTest : ::testing::Test {
  Fight fight;
  Unit* player = nullptr;
  void SetUp() override { player = &fight.Player(kPlayerX, kPlayerY); }
  // A sentinel that neither hovers nor fires unless the test says so.
  Unit& StillSentinel(double dx, double dy) {
    Unit& u = fight.Add(kSentinel, kPlayerX + dx, kPlayerY + dy);
    u.firePeriod = 100;
    return u;
  }
};

}  // namespace

TEST_F(EnemyTest, ASentinelKeepsWithin200PxToTheSideAndHoldsItsHeightOnlyAbove) {
  struct Row {
    double dx, dy;
    double moveX, moveY;
  } rows[] = {
      {250, -200, -kSentinelStep, 0},  // right of its band: closes in
      {201, -200, -kSentinelStep, 0},
      {200, -200, 0, 0},  // on the edge of its band
      {150, -200, 0, 0},
      {-150, -200, 0, 0},
      {-201, -200, kSentinelStep, 0},
      {0, -150, 0, -kSentinelStep},  // too close above: rises
      {0, -198, 0, -kSentinelStep},
      {0, -250, 0, kSentinelStep},  // too high: comes down
      {0, -201, 0, kSentinelStep},
      {0, 0, 0, 0},  // at the player's height or below: keeps its height
      {0, 100, 0, 0},
      {0, 300, 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.dx << ", " << r.dy);
    fight.Player(kPlayerX, kPlayerY);
    Unit& u = StillSentinel(r.dx, r.dy);
    UpdateEnemy(1);
    EXPECT_NEAR(u.x - (kPlayerX + r.dx), r.moveX, 1e-9);
    EXPECT_NEAR(u.y - (kPlayerY + r.dy), r.moveY, 1e-9);
    EXPECT_EQ(u.moving, 1);
    EXPECT_EQ(u.facingLeft, r.dx > 0 ? 1 : 0);
  }
}

TEST_F(EnemyTest, OnlyANearSentinelHoversAndCountsDownToItsShot) {
  struct Row {
    double dx, dy;
    bool near;
  } rows[] = {{399, -200, true}, {400, -200, false}, {-399, -200, true}, {-400, -200, false},
              {0, 349, true},    {0, 350, false},    {0, -350, false}};
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.dx << ", " << r.dy);
    fight.Player(kPlayerX, kPlayerY);
    Unit& u = StillSentinel(r.dx, r.dy);
    u.speed = 0;  // the follow would move it across the edge being tested
    u.hoverAmpX = u.hoverAmpY = 0.3;
    u.hoverPhase = 1.0;
    u.fireTimer = 2.0;
    u.fireNow = 1;
    const double x0 = u.x;
    UpdateEnemy(1);
    EXPECT_EQ(u.hoverNear, r.near ? 1 : 0);
    if (r.near) {
      EXPECT_NEAR(u.fireTimer, 2.01, 1e-9);
      EXPECT_NEAR(u.hoverPhase, 1.01, 1e-9);
      EXPECT_EQ(u.fireNow, 0) << "cleared while near";
      EXPECT_DOUBLE_EQ(u.hoverAmpX, 0.3) << "amplitudes kept while near";
    } else {
      EXPECT_EQ(u.fireTimer, 2.0) << "the fire timer stands still while far";
      EXPECT_EQ(u.hoverPhase, 1.0);
      EXPECT_EQ(u.fireNow, 1) << "a shot's flag stays until it is near again";
      EXPECT_GE(u.hoverAmpX, 0.1);
      EXPECT_LE(u.hoverAmpX, 0.1495);
      EXPECT_GE(u.hoverAmpY, 0.15);
      EXPECT_LE(u.hoverAmpY, 0.1995);
      EXPECT_EQ(u.x, x0) << "no hover";
    }
  }
}

TEST_F(EnemyTest, ASentinelFiresWhenItsPeriodIsUpAndChargesInTheLastHalfSecond) {
  RandSeed(3);
  Unit& u = fight.Add(kSentinel, kPlayerX, kPlayerY - 200);
  u.firePeriod = 5;
  struct Row {
    double timer;
    int fires, charging;
  } rows[] = {{4.48, 0, 0}, {4.495, 0, 1}, {4.999, 0, 1}, {5.0, 1, 0}, {7.0, 1, 0}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.timer);
    u.firePeriod = 5;
    u.fireTimer = r.timer;
    UpdateEnemy(1);
    EXPECT_EQ(u.fireNow, r.fires);
    EXPECT_EQ(u.charging, r.charging);
    if (r.fires) {
      EXPECT_EQ(u.fireTimer, 0.0);
      EXPECT_GE(u.firePeriod, 5.0);
      EXPECT_LE(u.firePeriod, 9.0);
      EXPECT_EQ(u.firePeriod, std::trunc(u.firePeriod));
    }
  }
  // A sentinel that has never fired (period 0) fires on its first near frame.
  Unit& fresh = fight.Add(kSentinel, kPlayerX, kPlayerY - 200);
  UpdateEnemy(2);
  EXPECT_EQ(fresh.fireNow, 1);
}

TEST_F(EnemyTest, AStunnedSentinelIsKnockedAwayAndEachNewAttackPushesItAfresh) {
  Unit& u = StillSentinel(50, -200);
  u.stunned = 1;
  u.fireTimer = 3;
  u.fireNow = 1;
  player->facingLeft = 1;
  gameState.play.combo.attackKind = 2;
  UpdateEnemy(1);
  EXPECT_NEAR(u.pushTime, 0.49, 1e-9);
  EXPECT_EQ(u.pushDir, -1);
  EXPECT_NEAR(u.x, kPlayerX + 50 - 7 * kSentinelStep, 1e-9);
  EXPECT_NEAR(u.y, kPlayerY - 200 + kSentinelStep, 1e-9) << "sinks as it reels";
  EXPECT_EQ(u.fireTimer, 0.0);
  EXPECT_EQ(u.fireNow, 1) << "kept while stunned";
  EXPECT_EQ(u.stunned, 1);

  // No new attack: the push runs down in its direction.
  gameState.play.combo.attackKind = 0;
  u.pushTime = 0.2;
  player->facingLeft = 0;
  UpdateEnemy(1);
  EXPECT_NEAR(u.pushTime, 0.19, 1e-9);
  EXPECT_EQ(u.pushDir, -1);

  // A new attack resets the push to 0.5 s, the way the player now looks.
  gameState.play.combo.attackKind = 1;
  UpdateEnemy(1);
  EXPECT_NEAR(u.pushTime, 0.49, 1e-9);
  EXPECT_EQ(u.pushDir, 1);

  // Push over: the stun ends and it follows again in the same frame.
  gameState.play.combo.attackKind = 0;
  u.pushTime = 0;
  u.stunTime = 0.3;
  const double x0 = u.x;
  UpdateEnemy(1);
  EXPECT_EQ(u.stunned, 0);
  EXPECT_EQ(u.stunTime, 0.0);
  EXPECT_EQ(u.fireNow, 0) << "near and steady again";
  EXPECT_NEAR(u.x, x0 + 7 * kSentinelStep, 1e-9);
}

TEST_F(EnemyTest, ADeadSentinelOnlyCountsItsDeath) {
  struct Row {
    double deathTime, after;
    int done;
  } rows[] = {{0, 0.01, 0}, {1.495, 1.505, 0}, {1.5, 1.5, 1}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.deathTime);
    fight.Player(kPlayerX, kPlayerY);
    Unit& u = StillSentinel(300, -300);
    u.life = 0;
    u.stunned = 1;
    u.deathTime = r.deathTime;
    UpdateEnemy(1);
    EXPECT_NEAR(u.deathTime, r.after, 1e-9);
    EXPECT_EQ(u.deathDone, r.done);
    EXPECT_EQ(u.stunned, 0);
    EXPECT_EQ(u.x, kPlayerX + 300) << "nothing else";
    EXPECT_EQ(u.moving, 0);
  }
}

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
    UpdateEnemy(1);
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
    UpdateEnemy(1);
    ASSERT_LT(++frames, 200);
  }
  EXPECT_LE(g.x - kPlayerX, 30.0);
  EXPECT_GT(g.x - kPlayerX, 30.0 - kGuardStep);
  for (int k = 0; k < 100; ++k) {
    UpdateEnemy(1);
    ASSERT_EQ(g.attack, 1);
    ASSERT_EQ(g.moving, 0);
  }
}

TEST_F(EnemyTest, TheGuardsStrikeCycleWrapsAt077s) {
  Unit& g = fight.Add(kGuard, kPlayerX + 20, kPlayerY);
  g.attackTime = 0.765;
  UpdateEnemy(1);
  EXPECT_NEAR(g.attackTime, 0.775, 1e-9);
  UpdateEnemy(1);
  EXPECT_EQ(g.attackTime, 0.0);
}

TEST_F(EnemyTest, AStunnedGuardStandsFor08sAndAGuardFacesThePlayerOnlyAlive) {
  Unit& g = fight.Add(kGuard, kPlayerX + 100, kPlayerY);
  g.stunned = 1;
  g.stunTime = 0.795;
  UpdateEnemy(1);
  EXPECT_NEAR(g.stunTime, 0.805, 1e-9);
  EXPECT_EQ(g.x, kPlayerX + 100) << "stunned: no walking";
  EXPECT_EQ(g.facingLeft, 1) << "still turns to the player";
  UpdateEnemy(1);
  EXPECT_EQ(g.stunned, 0);
  EXPECT_EQ(g.stunTime, 0.0);
  EXPECT_NEAR(g.x, kPlayerX + 100 - kGuardStep, 1e-9) << "walks in the frame the stun ends";

  g.life = 0;
  g.x = kPlayerX - 100;
  UpdateEnemy(1);
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
    gameState.play.combo.attackKind = static_cast<uint8_t>(r.attackKind);
    player->hitNow = static_cast<uint8_t>(r.hitNow);
    player->facingLeft = 1;
    g.launchLock = static_cast<uint8_t>(r.launchLock);
    g.life = r.life;
    g.deathTime = r.deathTime;
    UpdateEnemy(1);
    EXPECT_EQ(g.launched, r.launched);
    if (r.launched) {
      EXPECT_EQ(g.pushDir, -1);
      EXPECT_EQ(g.launchLock, 1);
      EXPECT_NEAR(g.x, kPlayerX - 20 - 5, 1e-9);
      EXPECT_NEAR(g.y, kPlayerY + std::sin(-2.0) * 11, 1e-9) << "rises first";
      EXPECT_NEAR(g.hoverAmpY, -1.97, 1e-9);
    }
  }

  // A whole flight of a freshly killed guard (which does not walk back meanwhile): another fourth
  // attack landing mid-flight does not start it again; it lands after about 833 ms, moving in
  // its landing frame too.
  fight.Player(kPlayerX, kPlayerY);
  Unit& g = fight.Add(kGuard, kPlayerX + 20, kPlayerY);
  g.life = 0;
  gameState.play.combo.attackKind = 4;
  player->hitNow = 1;
  player->facingLeft = 0;
  int frames = 0;
  double lowest = g.y;
  do {
    const double x0 = g.x;
    UpdateEnemy(1);
    lowest = std::min(lowest, g.y);
    ASSERT_NEAR(g.x - x0, 5.0, 1e-9);
    ASSERT_LT(++frames, 200);
  } while (g.launched == 1);
  EXPECT_EQ(frames, 85);
  EXPECT_EQ(g.launchLock, 0);
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
    UpdateEnemy(1);
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
    g.attackVariant = 2;
    g.attack = 2;
    g.attackTime = 0.3;
    UpdateEnemy(1);
    EXPECT_NEAR(g.x - (kPlayerX + r.dx), r.moveX, 1e-9);
    if (r.moveX != 0) {
      EXPECT_EQ(g.moving, 1);
      EXPECT_EQ(g.attack, 0);
      EXPECT_EQ(g.attackTime, 0.0);
      EXPECT_TRUE(g.attackVariant == 1 || g.attackVariant == 2);
    } else {
      EXPECT_EQ(g.moving, 0);
      EXPECT_EQ(g.attack, 2);
      EXPECT_NEAR(g.attackTime, 0.31, 1e-9);
    }
  }

  // Standing in reach it repeats the same blow; each walk draws again, and both blows come up.
  fight.Player(kPlayerX, kPlayerY);
  Unit& g = fight.Add(kGolem, kPlayerX + 100, kPlayerY);
  g.attackVariant = 1;
  for (int k = 0; k < 300; ++k) {
    UpdateEnemy(1);
    ASSERT_EQ(g.attack, 1);
  }
  int seen[3] = {};
  for (int k = 0; k < 40; ++k) {
    g.x = kPlayerX + 149;
    UpdateEnemy(1);
    ++seen[g.attackVariant];
  }
  EXPECT_EQ(seen[0], 0);
  EXPECT_GT(seen[1], 0);
  EXPECT_GT(seen[2], 0);
}

TEST_F(EnemyTest, AGolemThatNeverWalkedDoesNotStrikeAndItsCycleWrapsAt14s) {
  Unit& g = fight.Add(kGolem, kPlayerX + 100, kPlayerY);
  g.attackTime = 1.395;
  UpdateEnemy(1);
  EXPECT_EQ(g.attack, 0) << "variant 0";
  EXPECT_NEAR(g.attackTime, 1.405, 1e-9);
  UpdateEnemy(1);
  EXPECT_EQ(g.attackTime, 0.0);
}

TEST_F(EnemyTest, AGolemIsStunnedFor1sAndDeadItOnlyCountsItsDeath) {
  Unit& g = fight.Add(kGolem, kPlayerX - 300, kPlayerY);
  g.stunned = 1;
  g.stunTime = 0.995;
  UpdateEnemy(1);
  EXPECT_EQ(g.stunned, 1);
  EXPECT_EQ(g.facingLeft, 0);
  EXPECT_EQ(g.x, kPlayerX - 300);
  UpdateEnemy(1);
  EXPECT_EQ(g.stunned, 0);
  EXPECT_NEAR(g.x, kPlayerX - 300 + kGolemStep, 1e-9);

  g.life = 0;
  g.moving = g.idle = g.attack = g.stunned = g.jumping = 1;
  g.deathTime = 4.995;
  UpdateEnemy(1);
  EXPECT_EQ(g.moving + g.idle + g.attack + g.stunned + g.jumping, 0);
  EXPECT_EQ(g.deathDone, 0);
  UpdateEnemy(1);
  EXPECT_EQ(g.deathDone, 1);
  EXPECT_NEAR(g.deathTime, 5.005, 1e-9);
}

TEST_F(EnemyTest, ThePlayerAndUnnamedKindsAreLeftAlone) {
  Unit& odd = fight.Add(kGuard, kPlayerX + 100, kPlayerY);
  odd.kind = 5;
  UpdateEnemy(0);
  UpdateEnemy(1);
  EXPECT_EQ(player->x, kPlayerX);
  EXPECT_EQ(player->moving, 0);
  EXPECT_EQ(odd.x, kPlayerX + 100);
  EXPECT_EQ(odd.moving, 0);
}
