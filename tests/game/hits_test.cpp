// Hits and damage on hand-built fights: the melee reach, the player's blow with its facing rule,
// stun, decapitation and golem bonus; the enemies' shot, strike and blows on their exact
// pictures with the crouch rules; the player's stun and death timers.
#include <gtest/gtest.h>

#include "app/game_state.hpp"
#include "game/combat_test_support.hpp"
#include "game/enemy.hpp"
#include "game/enemy_kinds.hpp"
#include "game/hits.hpp"

namespace {

constexpr double kPlayerX = 1000;
constexpr double kPlayerY = 800;

struct HitsTest : ::testing::Test {
  Fight fight;
  Unit* player = nullptr;
  void SetUp() override { player = &fight.Player(kPlayerX, kPlayerY); }
  // A fresh player and one enemy.
  Unit& Face(int kind, double dx, double dy = 0) {
    player = &fight.Player(kPlayerX, kPlayerY);
    return fight.Add(kind, kPlayerX + dx, kPlayerY + dy);
  }
};

}  // namespace

TEST_F(HitsTest, MeleeReachWidensTheEnemysBox10PxSidewaysAnd5PxUpAndDown) {
  // Player box x 986..1014, y 754..856; the guard's -15..15 and -48..56 widened.
  struct Row {
    double x, y;
    bool reach;
  } rows[] = {{1038.9, 800, true}, {1039, 800, false}, {961.1, 800, true},  {961, 800, false},
              {1000, 908.9, true}, {1000, 909, false}, {1000, 693.1, true}, {1000, 693, false}};
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.x << ", " << r.y);
    Face(kGuard, r.x - kPlayerX, r.y - kPlayerY);
    EXPECT_EQ(InMeleeReach(PlayerUnit(), UnitAt(1)), r.reach);
  }
}

TEST_F(HitsTest, ThePlayersBlowLandsOnlyWhenStartedInReachUnstunnedAndFacingGuardsAndGolems) {
  struct Row {
    const char* what;
    int kind;
    double dx;
    int facingLeft, stunned, attackKind;
    bool lands;
  } rows[] = {
      {"guard ahead", kGuard, 20, 0, 0, 1, true},
      {"back turned to a guard", kGuard, 20, 1, 0, 1, false},
      {"guard ahead on the left", kGuard, -20, 1, 0, 2, true},
      {"back turned, guard on the left", kGuard, -20, 0, 0, 2, false},
      {"guard on the same spot", kGuard, 0, 0, 0, 1, false},
      {"golem ahead", kGolem, 40, 0, 0, 3, true},
      {"back turned to a golem", kGolem, 40, 1, 0, 3, false},
      {"sentinel behind", kSentinel, 20, 1, 0, 1, true},
      {"sentinel ahead", kSentinel, -20, 1, 0, 4, true},
      {"stunned player", kGuard, 20, 0, 1, 1, false},
      {"no attack this frame", kGuard, 20, 0, 0, 0, false},
      {"out of reach", kGuard, 40, 0, 0, 1, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Unit& u = Face(r.kind, r.dx);
    const int32_t life = u.life;
    player->facingLeft = static_cast<uint8_t>(r.facingLeft);
    player->stunned = static_cast<uint8_t>(r.stunned);
    player->stunLength = 5;
    gameState.play.combo.attackKind = static_cast<uint8_t>(r.attackKind);
    gameState.play.lastHitKind = 0;
    PlayerHitsUnit(Frame(), 1);
    EXPECT_EQ(player->hitNow, r.lands ? 1 : 0);
    // The same damage for every attack kind.
    EXPECT_EQ(u.life, r.lands ? life - 10 : life);
    EXPECT_EQ(gameState.play.lastHitKind, r.lands ? r.kind : 0);
  }
}

TEST_F(HitsTest, ComboLevelsBeheadGuardsAtExactly3AndBiteDeeperIntoGolems) {
  struct Row {
    int kind, life, comboLevel;
    int lifeAfter, stunned, headOff, bonus;
  } rows[] = {
      {kGuard, 30, 0, 20, 1, 0, 0},   {kGuard, 30, 2, 20, 1, 0, 0},
      {kGuard, 30, 3, -10, 1, 1, 0},  {kGuard, 1000, 3, -10, 1, 1, 0},  // whatever its life
      {kGuard, 30, 4, 20, 1, 0, 0},   {kGolem, 110, 0, 100, 0, 0, 0},
      {kGolem, 110, 1, 100, 0, 0, 0}, {kGolem, 110, 2, 100, 1, 0, 0},
      {kGolem, 110, 3, 98, 1, 0, 2},  {kGolem, 110, 7, 98, 1, 0, 2},
      {kSentinel, 10, 3, 0, 1, 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "kind " << r.kind << " level " << r.comboLevel);
    Unit& u = Face(r.kind, 30);
    u.life = r.life;
    gameState.play.combo.attackKind = 1;
    gameState.play.combo.comboLevel = static_cast<uint8_t>(r.comboLevel);
    gameState.play.bonusDamage = 9;
    PlayerHitsUnit(Frame(), 1);
    ASSERT_EQ(player->hitNow, 1);
    EXPECT_EQ(u.life, r.lifeAfter);
    EXPECT_EQ(u.stunned, r.stunned);
    EXPECT_EQ(u.headOff, r.headOff);
    EXPECT_EQ(gameState.play.bonusDamage, r.bonus);
  }
}

TEST_F(HitsTest, TheEnemysBlowStunsThePlayerTheNextFrameAndTheStunWearsOffPerEnemy) {
  Unit& guard = fight.Add(kGuard, kPlayerX + 30, kPlayerY);
  player->stunLength = 0.7;
  guard.hitNow = 1;  // its blow landed last frame
  PlayerHitsUnit(Frame(), 1);
  EXPECT_EQ(player->stunned, 1);
  EXPECT_NEAR(player->stunTime, 0.01, 1e-9) << "begun and counted in the same call";

  struct Row {
    double stunTime;
    int stunned;
    double after;
  } rows[] = {{0.5, 1, 0.51}, {0.695, 1, 0.705}, {0.7, 0, 0.0}, {0.9, 0, 0.0}};
  guard.hitNow = 0;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.stunTime);
    player->stunned = 1;
    player->stunTime = r.stunTime;
    PlayerHitsUnit(Frame(), 1);
    EXPECT_EQ(player->stunned, r.stunned);
    EXPECT_NEAR(player->stunTime, r.after, 1e-9);
  }

  // With two enemies in range each frame wears the stun off twice.
  auto framesStunned = [&](int enemies) {
    fight.Player(kPlayerX, kPlayerY);
    for (int k = 0; k < enemies; ++k) fight.Add(kSentinel, kPlayerX - 300 - 10 * k, kPlayerY);
    player->stunned = 1;
    player->stunLength = 0.7;
    int frames = 0;
    while (player->stunned == 1 && frames < 1000) {
      for (int i = 0; i < UnitCount(); ++i) PlayerHitsUnit(Frame(), i);
      ++frames;
    }
    return frames;
  };
  EXPECT_EQ(framesStunned(1), 71);
  EXPECT_EQ(framesStunned(2), 36);
}

TEST_F(HitsTest, ThePlayersDeathTimerRunsOncePerProcessedUnitAndMarksThemDoneAfter3s) {
  Unit& a = fight.Add(kGuard, kPlayerX + 300, kPlayerY);
  Unit& b = fight.Add(kGolem, kPlayerX - 300, kPlayerY);
  player->life = 0;
  for (int i = 0; i < 3; ++i) PlayerHitsUnit(Frame(), i);
  EXPECT_NEAR(player->deathTime, 0.03, 1e-9) << "three processed units, three steps";

  player->deathTime = 2.995;
  PlayerHitsUnit(Frame(), 0);
  EXPECT_NEAR(player->deathTime, 3.005, 1e-9);
  EXPECT_EQ(player->deathDone, 0);
  PlayerHitsUnit(Frame(), 1);
  EXPECT_EQ(a.deathDone, 1) << "the unit being processed is the one marked";
  EXPECT_EQ(player->deathDone, 0);
  PlayerHitsUnit(Frame(), 0);
  PlayerHitsUnit(Frame(), 2);
  EXPECT_EQ(player->deathDone, 1);
  EXPECT_EQ(b.deathDone, 1);
  EXPECT_NEAR(player->deathTime, 3.005, 1e-9);

  // Alive, nothing of this runs.
  Unit& c = Face(kGuard, 300);
  PlayerHitsUnit(Frame(), 1);
  EXPECT_EQ(player->deathTime, 0.0);
  EXPECT_EQ(c.deathDone, 0);
}

TEST_F(HitsTest, EnemyBlowsLandOnTheirPicturesWithTheCrouchRules) {
  struct Row {
    const char* what;
    int kind, attack, animIndex, picture, crouching, fireNow;
    int hits, lifeLost;
    double stunLength;
    int pictureAfter;
  } rows[] = {
      {"sentinel shot", kSentinel, 0, 0, 0, 0, 1, 1, 8, 1.0, 0},
      {"sentinel shot ducked", kSentinel, 0, 0, 0, 1, 1, 0, 0, 9, 0},
      {"sentinel not firing", kSentinel, 0, 0, 0, 0, 0, 0, 0, 9, 0},
      {"guard on frame 60", kGuard, 1, 4, 60, 0, 0, 1, 7, 0.7, 52},
      {"guard on frame 59", kGuard, 1, 4, 59, 0, 0, 0, 0, 9, 59},
      {"guard on frame 61", kGuard, 1, 4, 61, 0, 0, 0, 0, 9, 61},
      {"guard not striking", kGuard, 0, 4, 60, 0, 0, 0, 0, 9, 60},
      {"guard over a crouch", kGuard, 1, 4, 60, 1, 0, 1, 0, 9, 52},
      {"golem blow 1 on 33", kGolem, 1, 4, 33, 0, 0, 1, 20, 1.1, 24},
      {"golem blow 2 on 62", kGolem, 2, 5, 62, 0, 0, 1, 20, 1.1, 50},
      {"golem blow 1 on 62", kGolem, 1, 4, 62, 0, 0, 0, 0, 9, 62},
      {"golem blow 2 on 33", kGolem, 2, 5, 33, 0, 0, 0, 0, 9, 33},
      {"golem at rest", kGolem, 0, 4, 33, 0, 0, 0, 0, 9, 33},
      {"golem on a crouch", kGolem, 1, 4, 33, 1, 0, 1, 4, 0.1, 24},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Unit& u = Face(r.kind, 30);
    u.attack = static_cast<uint8_t>(r.attack);
    u.fireNow = static_cast<uint8_t>(r.fireNow);
    u.hitNow = 1;  // last frame's value is replaced
    ShowPicture(u, r.animIndex, r.picture);
    player->crouching = static_cast<uint8_t>(r.crouching);
    player->stunLength = 9;
    UnitHitsPlayer(Frame(), 1);
    EXPECT_EQ(u.hitNow, r.hits);
    EXPECT_EQ(player->life, 100 - r.lifeLost);
    EXPECT_DOUBLE_EQ(player->stunLength, r.stunLength);
    EXPECT_EQ(u.anim->current, r.pictureAfter);
    // A strike or blow that lands ends the attack.
    if (r.kind != kSentinel) EXPECT_EQ(u.attack, r.hits ? 0 : r.attack);
    // Only the golem's blow stuns at once; the others stun through the next frame's test.
    EXPECT_EQ(player->stunned, r.kind == kGolem && r.hits ? 1 : 0);
  }
}

// A sentinel that fires and is struck in the next frame keeps its fire flag while it reels; the
// shot still lands only once, and a shot ducked is not taken later either.
TEST_F(HitsTest, ASentinelsShotLandsOnceAlsoWhenItIsStruckRightAfter) {
  for (int crouching : {0, 1}) {
    SCOPED_TRACE(crouching);
    Unit& s = Face(kSentinel, 20);
    SentinelKeptState& timer = KindStateOf<SentinelKeptState>(s);
    timer.firePeriod = 5;
    timer.fireTimer = 5;  // fires in its first behaviour step
    int flagged = 0;
    for (int frame = 0; frame < 60; ++frame) {
      gameState.play.combo.attackKind = frame == 1 ? 1 : 0;  // struck in the frame after the shot
      player->crouching = static_cast<uint8_t>(crouching == 1 && frame == 1);
      PlayerHitsUnit(Frame(), 1);
      UnitHitsPlayer(Frame(), 1);
      UpdateEnemy(Frame(), 1);
      flagged += frame > 1 && s.fireNow == 1;
    }
    EXPECT_GT(flagged, 10) << "it reels with the flag still set";
    EXPECT_EQ(player->life, crouching ? 100 : 100 - s.damage);
  }
}

TEST_F(HitsTest, ACrouchingPlayerTakesAFifthOfAGolemsBlowRoundedDown) {
  struct Row {
    int damage, lost;
  } rows[] = {{20, 4}, {23, 4}, {24, 4}, {25, 5}, {4, 0}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.damage);
    Unit& g = Face(kGolem, 40);
    g.damage = r.damage;
    g.attack = 1;
    ShowPicture(g, 4, 33);
    player->crouching = 1;
    UnitHitsPlayer(Frame(), 1);
    EXPECT_EQ(player->life, 100 - r.lost);
  }
}

TEST_F(HitsTest, UnnamedKindsNeverStrikeAndASecondPlayerIsNeverHit) {
  Unit& odd = fight.Add(kGuard, kPlayerX + 20, kPlayerY);
  odd.kind = 7;
  odd.attack = 1;
  ShowPicture(odd, 4, 60);
  UnitHitsPlayer(Frame(), 0);
  UnitHitsPlayer(Frame(), 1);
  EXPECT_EQ(player->life, 100);
  EXPECT_EQ(odd.anim->current, 60);
  // Kinds from 2 up are hit like guards, facing them.
  gameState.play.combo.attackKind = 1;
  PlayerHitsUnit(Frame(), 1);
  EXPECT_EQ(odd.life, 20);

  Unit& twin = Face(kPlayer, 20);
  gameState.play.combo.attackKind = 1;
  PlayerHitsUnit(Frame(), 1);
  EXPECT_EQ(player->hitNow, 0);
  EXPECT_EQ(twin.life, 100);
}
