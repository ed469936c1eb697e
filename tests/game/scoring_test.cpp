// Scoring and the player's death on hand-built fights: the points table, one score per death,
// slow motion, the enemies' attacks stopped, the red fade and the restart request.
#include <gtest/gtest.h>

#include "app/game_state.hpp"
#include "game/combat_test_support.hpp"
#include "game/level.hpp"
#include "game/scoring.hpp"
#include "gfx/renderer.hpp"

namespace {

struct ScoringTest : ::testing::Test {
  Fight fight;
  Unit* player = nullptr;
  void SetUp() override { player = &fight.Player(1000, 800); }
  const std::vector<DrawRecord>& Draws() { return *fight.fake->renderer.DrawList(); }
};

}  // namespace

TEST_F(ScoringTest, EachKindScoresItsPointsAndCounters) {
  struct Row {
    const char* what;
    int kind, headOff;
    int points, sentinels, guards, heads, golems;
  } rows[] = {
      {"sentinel", kSentinel, 0, 10, 1, 0, 0, 0},    {"guard", kGuard, 0, 20, 0, 1, 0, 0},
      {"guard beheaded", kGuard, 1, 50, 0, 1, 1, 0}, {"golem", kGolem, 0, 50, 0, 0, 0, 1},
      {"second player", kPlayer, 0, 0, 0, 0, 0, 0},  {"unnamed kind", 6, 0, 0, 0, 0, 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    gameState.play.levelStats = LevelStats{};
    fight.Player(1000, 800);
    Unit& u = fight.Add(r.kind == 6 ? kGuard : r.kind, 1200, 800);
    u.kind = r.kind;
    u.life = -3;
    u.headOff = static_cast<uint8_t>(r.headOff);
    ScoreKill(Frame(), 1);
    const LevelStats& s = gameState.play.levelStats;
    EXPECT_EQ(s.points, r.points);
    EXPECT_EQ(s.kills[kSentinel], r.sentinels);
    EXPECT_EQ(s.kills[kGuard], r.guards);
    EXPECT_EQ(s.headsRemoved, r.heads);
    EXPECT_EQ(s.kills[kGolem], r.golems);
  }
}

TEST_F(ScoringTest, AKillCountsOnceOnlyInTheFrameItIsFirstSeenDead) {
  Unit& g = fight.Add(kGuard, 1200, 800);
  ScoreKill(Frame(), 1);
  EXPECT_EQ(gameState.play.levelStats.points, 0) << "alive";
  g.life = 0;
  // Frames of no time (or with the player dead) leave the death timer at 0.
  for (int k = 0; k < 5; ++k) ScoreKill(Frame(), 1);
  EXPECT_EQ(gameState.play.levelStats.points, 20);
  EXPECT_EQ(gameState.play.levelStats.kills[kGuard], 1);

  // Its death timer already running means it was seen dead before.
  Unit& other = fight.Add(kGolem, 1300, 800);
  other.life = 0;
  other.deathTime = 0.01;
  ScoreKill(Frame(), 2);
  EXPECT_EQ(gameState.play.levelStats.kills[kGolem], 0);
}

TEST_F(ScoringTest, WhileThePlayerLivesTheOverlayDoesNothing) {
  fight.fake->renderer.BeginFrame(0, 800, 0, 600);
  Unit& s = fight.Add(kSentinel, 1100, 600);
  s.fireNow = 1;
  player->life = 1;
  RunPlayerDeath(Scene());
  EXPECT_TRUE(Draws().empty());
  EXPECT_EQ(gameState.morva.timeScale, 1000);
  EXPECT_EQ(s.fireNow, 1);
  EXPECT_EQ(gameState.play.deathFade, 0.0f);
}

TEST_F(ScoringTest, ThePlayersDeathSlowsTimeStopsAttacksFadesRedAndAsksForARestart) {
  gameState.level.deathOverlayTexture = 77;
  Unit& alive = fight.Add(kGuard, 1030, 800);
  Unit& dying = fight.Add(kSentinel, 1100, 600);
  Unit& done = fight.Add(kGolem, 1200, 800);
  alive.attack = 1;
  dying.life = 0;
  dying.fireNow = 1;
  done.life = 0;
  done.deathDone = 1;
  done.attack = 2;
  player->life = 0;

  fight.fake->renderer.BeginFrame(0, 800, 0, 600);
  RunPlayerDeath(Scene());
  EXPECT_EQ(gameState.morva.timeScale, 1300);
  EXPECT_EQ(alive.attack, 0);
  EXPECT_EQ(alive.idle, 1);
  EXPECT_EQ(dying.fireNow, 0);
  EXPECT_EQ(player->idle, 1);
  EXPECT_EQ(done.attack, 2) << "a unit done dying is left alone";
  EXPECT_EQ(done.idle, 0);
  EXPECT_FLOAT_EQ(gameState.play.deathFade, 0.005f);
  ASSERT_EQ(Draws().size(), 1u);
  const DrawRecord& d = Draws()[0];
  EXPECT_EQ(d.op, "quad");
  EXPECT_EQ(d.texture, 77u);
  EXPECT_EQ(d.x, 0);
  EXPECT_EQ(d.y, 0);
  EXPECT_EQ(d.w, 800);
  EXPECT_EQ(d.h, 600);
  EXPECT_DOUBLE_EQ(d.depth, -0.1);
  EXPECT_FLOAT_EQ(static_cast<float>(d.alpha), 0.005f);

  // At the slowed pace the fade takes 3000 ms of frame time: 390 frames of 10000/1300 ms.
  gameState.play.deathFade = 0;
  gameState.morva.frameTime = 10 * 1000.0 / 1300;
  int frames = 0;
  float highest = 0;
  while (gameState.flags.restartRequested == 0 && frames < 1000) {
    highest = std::max(highest, gameState.play.deathFade);
    RunPlayerDeath(Scene());
    ++frames;
  }
  EXPECT_EQ(frames, 391);
  EXPECT_GE(highest, 1.5f);
  EXPECT_LT(highest, 1.51f);
  EXPECT_EQ(gameState.play.deathFade, 0.0f);
  EXPECT_EQ(gameState.morva.timeScale, 1000);
}
