// The sentinel on hand-built fights: its follow and height, hover, fire timer, knock-back and
// death.
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
// A sentinel's step in one 10 ms frame.
constexpr double kSentinelStep = 0.14 * 10;

// The sentinel's own state that a restart keeps: its hover, fire timer and knock-back.
SentinelKeptState& Kept(Unit& u) {
  return KindStateOf<SentinelKeptState>(u);
}

struct SentinelTest : ::testing::Test {
  Fight fight;
  Unit* player = nullptr;
  void SetUp() override { player = &fight.Player(kPlayerX, kPlayerY); }
  // A sentinel that neither hovers nor fires unless the test says so.
  Unit& StillSentinel(double dx, double dy) {
    Unit& u = fight.Add(kSentinel, kPlayerX + dx, kPlayerY + dy);
    Kept(u).firePeriod = 100;
    return u;
  }
};

}  // namespace

TEST_F(SentinelTest, ASentinelKeepsWithin200PxToTheSideAndHoldsItsHeightOnlyAbove) {
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
    UpdateEnemy(Frame(), 1);
    EXPECT_NEAR(u.x - (kPlayerX + r.dx), r.moveX, 1e-9);
    EXPECT_NEAR(u.y - (kPlayerY + r.dy), r.moveY, 1e-9);
    EXPECT_EQ(u.moving, 1);
    EXPECT_EQ(u.facingLeft, r.dx > 0 ? 1 : 0);
  }
}

TEST_F(SentinelTest, OnlyANearSentinelHoversAndCountsDownToItsShot) {
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
    Kept(u).hoverAmpX = Kept(u).hoverAmpY = 0.3;
    Kept(u).hoverPhase = 1.0;
    Kept(u).fireTimer = 2.0;
    u.fireNow = 1;
    const double x0 = u.x;
    UpdateEnemy(Frame(), 1);
    EXPECT_EQ(Kept(u).hoverNear, r.near ? 1 : 0);
    if (r.near) {
      EXPECT_NEAR(Kept(u).fireTimer, 2.01, 1e-9);
      EXPECT_NEAR(Kept(u).hoverPhase, 1.01, 1e-9);
      EXPECT_EQ(u.fireNow, 0) << "cleared while near";
      EXPECT_DOUBLE_EQ(Kept(u).hoverAmpX, 0.3) << "amplitudes kept while near";
    } else {
      EXPECT_EQ(Kept(u).fireTimer, 2.0) << "the fire timer stands still while far";
      EXPECT_EQ(Kept(u).hoverPhase, 1.0);
      EXPECT_EQ(u.fireNow, 1) << "a shot's flag stays until it is near again";
      EXPECT_GE(Kept(u).hoverAmpX, 0.1);
      EXPECT_LE(Kept(u).hoverAmpX, 0.1495);
      EXPECT_GE(Kept(u).hoverAmpY, 0.15);
      EXPECT_LE(Kept(u).hoverAmpY, 0.1995);
      EXPECT_EQ(u.x, x0) << "no hover";
    }
  }
}

TEST_F(SentinelTest, ASentinelFiresWhenItsPeriodIsUpAndChargesInTheLastHalfSecond) {
  RandSeed(3);
  Unit& u = fight.Add(kSentinel, kPlayerX, kPlayerY - 200);
  Kept(u).firePeriod = 5;
  struct Row {
    double timer;
    int fires, charging;
  } rows[] = {{4.48, 0, 0}, {4.495, 0, 1}, {4.999, 0, 1}, {5.0, 1, 0}, {7.0, 1, 0}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.timer);
    Kept(u).firePeriod = 5;
    Kept(u).fireTimer = r.timer;
    UpdateEnemy(Frame(), 1);
    EXPECT_EQ(u.fireNow, r.fires);
    EXPECT_EQ(KindStateOf<SentinelPlayState>(u).charging, r.charging);
    if (r.fires) {
      EXPECT_EQ(Kept(u).fireTimer, 0.0);
      EXPECT_GE(Kept(u).firePeriod, 5.0);
      EXPECT_LE(Kept(u).firePeriod, 9.0);
      EXPECT_EQ(Kept(u).firePeriod, std::trunc(Kept(u).firePeriod));
    }
  }
  // A sentinel that has never fired (period 0) fires on its first near frame.
  Unit& fresh = fight.Add(kSentinel, kPlayerX, kPlayerY - 200);
  UpdateEnemy(Frame(), 2);
  EXPECT_EQ(fresh.fireNow, 1);
}

TEST_F(SentinelTest, AStunnedSentinelIsKnockedAwayAndEachNewAttackPushesItAfresh) {
  Unit& u = StillSentinel(50, -200);
  u.stunned = 1;
  Kept(u).fireTimer = 3;
  u.fireNow = 1;
  player->facingLeft = 1;
  gameState.play.combo.attackKind = 2;
  UpdateEnemy(Frame(), 1);
  EXPECT_NEAR(Kept(u).pushTime, 0.49, 1e-9);
  EXPECT_EQ(u.pushDir, -1);
  EXPECT_NEAR(u.x, kPlayerX + 50 - 7 * kSentinelStep, 1e-9);
  EXPECT_NEAR(u.y, kPlayerY - 200 + kSentinelStep, 1e-9) << "sinks as it reels";
  EXPECT_EQ(Kept(u).fireTimer, 0.0);
  EXPECT_EQ(u.fireNow, 1) << "kept while stunned";
  EXPECT_EQ(u.stunned, 1);

  // No new attack: the push runs down in its direction.
  gameState.play.combo.attackKind = 0;
  Kept(u).pushTime = 0.2;
  player->facingLeft = 0;
  UpdateEnemy(Frame(), 1);
  EXPECT_NEAR(Kept(u).pushTime, 0.19, 1e-9);
  EXPECT_EQ(u.pushDir, -1);

  // A new attack resets the push to 0.5 s, the way the player now looks.
  gameState.play.combo.attackKind = 1;
  UpdateEnemy(Frame(), 1);
  EXPECT_NEAR(Kept(u).pushTime, 0.49, 1e-9);
  EXPECT_EQ(u.pushDir, 1);

  // Push over: the stun ends and it follows again in the same frame.
  gameState.play.combo.attackKind = 0;
  Kept(u).pushTime = 0;
  u.stunTime = 0.3;
  const double x0 = u.x;
  UpdateEnemy(Frame(), 1);
  EXPECT_EQ(u.stunned, 0);
  EXPECT_EQ(u.stunTime, 0.0);
  EXPECT_EQ(u.fireNow, 0) << "near and steady again";
  EXPECT_NEAR(u.x, x0 + 7 * kSentinelStep, 1e-9);
}

TEST_F(SentinelTest, ADeadSentinelOnlyCountsItsDeath) {
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
    UpdateEnemy(Frame(), 1);
    EXPECT_NEAR(u.deathTime, r.after, 1e-9);
    EXPECT_EQ(u.deathDone, r.done);
    EXPECT_EQ(u.stunned, 0);
    EXPECT_EQ(u.x, kPlayerX + 300) << "nothing else";
    EXPECT_EQ(u.moving, 0);
  }
}
