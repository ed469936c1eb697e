// Unit sounds on hand-built fights with the demo content's sounds: every one-shot trigger is
// heard once, loops and repeats come again, the guard cries once per level, the comment follows a
// beheading, the golem grunts in periods and the seven-hit combo is counted once per combo.
#include <gtest/gtest.h>

#include <functional>

#include "app/game_state.hpp"
#include "audio/sound.hpp"
#include "base/random.hpp"
#include "game/combat_test_support.hpp"
#include "game/enemy_kinds.hpp"
#include "game/level.hpp"
#include "game/unit_sounds.hpp"

namespace {

struct UnitSoundsTest : ::testing::Test {
  Fight fight;
  Unit* player = nullptr;
  void SetUp() override {
    player = &fight.Player(1000, 800);
    fight.LoadSounds();
    RandSeed(5);
  }
  int Ends(SoundHandle h) const { return fight.audio.Ends(h); }
  static SoundHandle PlayerSound(int slot) { return gameState.level.SoundsOf(kPlayer)[slot]; }
  static SoundHandle GuardSound(int slot) { return gameState.level.SoundsOf(kGuard)[slot]; }
  static SoundHandle GolemSound(int slot) { return gameState.level.SoundsOf(kGolem)[slot]; }
  static SoundHandle SentinelSound(int slot) { return gameState.level.SoundsOf(kSentinel)[slot]; }
  static SoundHandle Comment(int i) { return gameState.level.commentSounds[i]; }
  // Runs `frames` frames of 10 ms: the audio moves on, `each` sets frame k's state, then `sounds`.
  void Run(int frames, const std::function<void(int)>& each, const std::function<void()>& sounds) {
    for (int k = 0; k < frames; ++k) {
      fight.AdvanceAudio();
      each(k);
      sounds();
    }
  }
  void RunPlayer(int frames, const std::function<void(int)>& each) {
    Run(frames, each, [] { UpdatePlayerSounds(Frame()); });
  }
  void RunUnit(int frames, const std::function<void(int)>& each) {
    Run(frames, each, [] { UpdateUnitSounds(Frame(), 1); });
  }
  int HeardOfPlayer() const {
    int n = 0;
    for (SoundHandle h : gameState.level.SoundsOf(kPlayer)) n += h ? Ends(h) : 0;
    return n;
  }
};

// Frames long enough for any one-shot sound of the demo content to end.
constexpr int kLong = 400;

}  // namespace

TEST_F(UnitSoundsTest, EachOfThePlayersTriggersIsHeardOnce) {
  struct Row {
    const char* what;
    std::function<void(Unit&)> trigger;
    int slot;  // -1: nothing is heard
  } rows[] = {
      {"attack 1", [](Unit&) { gameState.play.combo.attackKind = 1; }, player_sound::kSwing1},
      {"attack 2", [](Unit&) { gameState.play.combo.attackKind = 2; }, player_sound::kSwing2},
      {"attack 3", [](Unit&) { gameState.play.combo.attackKind = 3; }, player_sound::kSwing3},
      {"attack 4", [](Unit&) { gameState.play.combo.attackKind = 4; }, player_sound::kSwing4},
      {"attack while stunned",
       [](Unit& p) {
         gameState.play.combo.attackKind = 1;
         p.stunned = 1;
         p.stunTime = 0.5;
       },
       -1},
      {"pain", [](Unit& p) { p.stunned = 1; }, player_sound::kPain},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    fight.audio.ResetCounts();
    player = &fight.Player(1000, 800);
    gameState.play.combo.attackKind = 0;
    RunPlayer(kLong, [&](int k) {
      gameState.play.combo.attackKind = 0;
      if (k == 0) r.trigger(*player);
      // A stun runs its own clock.
      if (player->stunned && k > 0) player->stunTime += 0.01;
    });
    EXPECT_EQ(HeardOfPlayer(), r.slot < 0 ? 0 : 1);
    if (r.slot >= 0) EXPECT_EQ(Ends(PlayerSound(r.slot)), 1);
    EXPECT_EQ(player->painLatch + player->swingLatch[0] + player->swingLatch[1] +
                  player->swingLatch[2] + player->swingLatch[3],
              0)
        << "every latch is cleared once its sound has ended";
  }
}

TEST_F(UnitSoundsTest, TheImpactSoundsOfTheStruckKindExceptOnTheThrow) {
  struct Row {
    int attackKind, lastHitKind;
    int steel, flesh;
  } rows[] = {{1, kSentinel, 1, 0}, {2, kGuard, 0, 1}, {3, kGolem, 0, 1}, {4, kGuard, 0, 0}};
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.attackKind << " on " << r.lastHitKind);
    fight.audio.ResetCounts();
    gameState.play.lastHitKind = static_cast<uint8_t>(r.lastHitKind);
    RunPlayer(kLong, [&](int k) {
      gameState.play.combo.attackKind = static_cast<uint8_t>(k == 0 ? r.attackKind : 0);
      player->hitNow = k == 0;
    });
    EXPECT_EQ(Ends(PlayerSound(player_sound::kImpactSteel)), r.steel);
    EXPECT_EQ(Ends(PlayerSound(player_sound::kImpactFlesh)), r.flesh);
    EXPECT_EQ(player->impactLatch, 0);
  }
  // The hit flag still up in the next frame (the struck unit was the last processed) does not
  // start the sound over.
  RunPlayer(2, [&](int k) {
    gameState.play.combo.attackKind = static_cast<uint8_t>(k == 0 ? 1 : 0);
    player->hitNow = 1;
  });
  EXPECT_GT(cSND::Position(PlayerSound(player_sound::kImpactFlesh)), 0u);
}

TEST_F(UnitSoundsTest, StepsFollowEachOtherWhileWalkingJumpsSoundOnceEachAndDeathPlays) {
  RunPlayer(300, [&](int) {
    player->moving = 1;
    ASSERT_LT(gameState.play.stepVariant, 3) << "the fourth step sound is never drawn";
  });
  int steps = 0;
  for (int s = player_sound::kStep1; s <= player_sound::kStep4; ++s) steps += Ends(PlayerSound(s));
  EXPECT_GE(steps, 3) << "a step after each step for 3 s";
  EXPECT_EQ(Ends(PlayerSound(player_sound::kStep4)), 0);

  // A jump held long is heard once; once landed the sound is rearmed for the next jump.
  player->moving = 0;
  fight.audio.ResetCounts();
  RunPlayer(2 * kLong, [&](int k) { player->jumping = k < kLong / 2 || k >= kLong; });
  EXPECT_EQ(Ends(PlayerSound(player_sound::kJump)), 2);

  fight.audio.ResetCounts();
  RunPlayer(kLong, [&](int) { player->life = 0; });
  EXPECT_EQ(Ends(PlayerSound(player_sound::kDeath)), 1) << "played, not looped";
}

TEST_F(UnitSoundsTest, ASentinelHumsWhileAliveAndSoundsItsShockAndShotOnce) {
  Unit& s = fight.Add(kSentinel, 1100, 600);
  RunUnit(kLong, [&](int k) {
    s.fireNow = k == 0;
    s.stunned = k >= 100 && k < 150;
    s.stunTime = s.stunned ? (k - 100) * 0.01 : 0;
  });
  EXPECT_EQ(Ends(SentinelSound(sentinel_sound::kAttack)), 1) << "the shot";
  EXPECT_EQ(Ends(SentinelSound(sentinel_sound::kShocked)), 1) << "the shock";
  EXPECT_GE(Ends(SentinelSound(sentinel_sound::kMoving)), 2) << "the hum loops";
  EXPECT_EQ(KindStateOf<SentinelKeptState>(s).shotLatch + s.shockLatch, 0);

  // Dead it is silent: the hum runs out and is not started again.
  RunUnit(kLong, [&](int) { s.life = 0; });
  fight.audio.ResetCounts();
  RunUnit(kLong, [&](int) { s.fireNow = 1; });
  EXPECT_EQ(
      Ends(SentinelSound(sentinel_sound::kAttack)) + Ends(SentinelSound(sentinel_sound::kMoving)),
      0);
}

TEST_F(UnitSoundsTest, AGuardCriesOnceALevelWhenItFirstWalksNear) {
  Unit& g = fight.Add(kGuard, 1400, 800);
  // Far, walking: no cry.
  RunUnit(100, [&](int) { g.moving = 1; });
  EXPECT_EQ(KindStateOf<GuardPlayState>(g).cryTime, 0.0);
  g.x = 1399;
  RunUnit(kLong, [&](int) { g.moving = 1; });
  int cries = 0;
  for (int c = guard_sound::kCry0; c < guard_sound::kCries; ++c) cries += Ends(GuardSound(c));
  EXPECT_EQ(cries, 1);
  EXPECT_LE(KindStateOf<GuardKeptState>(g).soundPick, 4);
  // Walking near again later: silent.
  RunUnit(kLong, [&](int k) { g.moving = k % 50 < 25; });
  cries = 0;
  for (int c = guard_sound::kCry0; c < guard_sound::kCries; ++c) cries += Ends(GuardSound(c));
  EXPECT_EQ(cries, 1);
}

TEST_F(UnitSoundsTest, AGuardsStrikeSoundsOncePerCycleAndItsPainOnceOnAThrow) {
  Unit& g = fight.Add(kGuard, 1030, 800);
  auto strike = [&](int) {
    g.attack = 1;
    g.attackTime = g.attackTime < 0.77 ? g.attackTime + 0.01 : 0;
  };
  RunUnit(kLong, [](int) {});
  EXPECT_EQ(Ends(GuardSound(guard_sound::kHit)), 0) << "not heard before the guard's first strike";
  RunUnit(78, strike);  // one cycle to settle
  fight.audio.ResetCounts();
  RunUnit(3 * 78, strike);
  EXPECT_EQ(Ends(GuardSound(guard_sound::kHit)), 3);

  struct Row {
    int attackKind, stunned, launchLock, heard;
  } rows[] = {{4, 1, 0, 1}, {3, 1, 0, 0}, {4, 0, 0, 0}, {4, 1, 1, 0}};
  g.attack = 0;
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.attackKind << r.stunned << r.launchLock);
    fight.audio.ResetCounts();
    RunUnit(kLong, [&](int k) {
      gameState.play.combo.attackKind = static_cast<uint8_t>(k == 0 ? r.attackKind : 0);
      g.stunned = static_cast<uint8_t>(r.stunned);
      KindStateOf<GuardPlayState>(g).launchLock = static_cast<uint8_t>(r.launchLock);
    });
    EXPECT_EQ(Ends(GuardSound(guard_sound::kPain)), r.heard);
  }
}

TEST_F(UnitSoundsTest, AGuardsDeathIsHeardOnceAndABeheadingDrawsACommentHalfASecondLater) {
  for (int headOff : {0, 1}) {
    SCOPED_TRACE(headOff);
    fight.audio.ResetCounts();
    fight.Player(1000, 800);
    Unit& g = fight.Add(kGuard, 1030, 800);
    g.life = 0;
    g.headOff = static_cast<uint8_t>(headOff);
    // The behaviour step runs the death timer after the sounds.
    RunUnit(kLong, [&](int k) { g.deathTime = k * 0.01; });
    const uint8_t pick = KindStateOf<GuardKeptState>(g).soundPick;
    if (headOff) {
      EXPECT_TRUE(pick == 7 || pick == 8);
    } else {
      EXPECT_GE(pick, 9);
      EXPECT_LE(pick, 13);
    }
    EXPECT_EQ(Ends(GuardSound(pick)), 1);
    EXPECT_EQ(Ends(GuardSound(guard_sound::kHeadOff)) + Ends(GuardSound(guard_sound::kHeadOff2)),
              headOff)
        << "one of the two cries";
    int comments = 0;
    for (int c = 0; c < 3; ++c) comments += Ends(Comment(c));
    EXPECT_EQ(comments, headOff);
    if (headOff) EXPECT_EQ(Ends(Comment(g.commentPick)), 1);
  }
  // Done dying: silent, whatever its flags say.
  fight.audio.ResetCounts();
  fight.Player(1000, 800);
  Unit& g = fight.Add(kGuard, 1030, 800);
  g.deathDone = 1;
  RunUnit(kLong, [&](int) {
    g.moving = g.attack = 1;
    g.stunned = 1;
    gameState.play.combo.attackKind = 4;
  });
  int heard = 0;
  for (SoundHandle h : gameState.level.SoundsOf(kGuard)) heard += h ? Ends(h) : 0;
  EXPECT_EQ(heard, 0);
}

TEST_F(UnitSoundsTest, AGolemStepsGruntsInPeriodsAndSoundsItsShockAndDeathOnce) {
  Unit& g = fight.Add(kGolem, 1200, 800);
  const GolemKeptState& grunts = KindStateOf<GolemKeptState>(g);
  RunUnit(1, [&](int) {});
  EXPECT_EQ(grunts.idlePick, 2) << "the first grunt";
  EXPECT_EQ(grunts.idlePeriod, 5.0);
  RunUnit(300, [&](int) { g.moving = 1; });
  EXPECT_GE(Ends(GolemSound(golem_sound::kStep)), 2) << "steps repeat while it walks";
  EXPECT_FALSE(fight.audio.Playing(GolemSound(golem_sound::kIdle)))
      << "grunts only in the first 2 s";
  RunUnit(250, [&](int) { g.moving = 0; });
  EXPECT_GE(grunts.idlePeriod, 2.0) << "a new period after 5 s";
  EXPECT_LE(grunts.idlePeriod, 6.0);
  EXPECT_TRUE(grunts.idlePick == 2 || grunts.idlePick == 3);
  EXPECT_LT(grunts.idleTime, 1.0);

  struct Row {
    int attackKind, stunned, heard;
  } rows[] = {{1, 1, 1}, {0, 1, 0}, {2, 0, 0}};
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.attackKind << r.stunned);
    fight.audio.ResetCounts();
    RunUnit(kLong, [&](int k) {
      gameState.play.combo.attackKind = static_cast<uint8_t>(k == 0 ? r.attackKind : 0);
      g.stunned = static_cast<uint8_t>(r.stunned);
    });
    EXPECT_EQ(Ends(GolemSound(golem_sound::kShock)), r.heard);
  }

  fight.audio.ResetCounts();
  g.life = 0;
  RunUnit(kLong, [&](int k) { g.deathTime = k * 0.01; });
  EXPECT_EQ(Ends(GolemSound(golem_sound::kDie)), 1);
}

TEST_F(UnitSoundsTest, ASevenHitComboIsCountedOnceAndOnlyWhileAGolemIsProcessed) {
  Unit& guard = fight.Add(kGuard, 1300, 800);
  Unit& golem = fight.Add(kGolem, 1200, 800);
  ComboState& combo = gameState.play.combo;
  LevelStats& stats = gameState.play.levelStats;
  guard.deathDone = 1;
  combo.comboLevel = 7;
  UnitSoundStep(Frame(), 1);
  EXPECT_EQ(stats.combo7Count, 0) << "no golem processed";
  EXPECT_EQ(combo.comboLevel, 7);

  // Processed: counted, the level cleared; the combo is evaluated to 7 again in the frames that
  // follow, and counted again only after it has been something else.
  const int levels[] = {7, 7, 7, 3, 7, 0, 7};
  const int counts[] = {1, 1, 1, 1, 2, 2, 3};
  for (std::size_t k = 0; k < std::size(levels); ++k) {
    SCOPED_TRACE(k);
    combo.comboLevel = static_cast<uint8_t>(levels[k]);
    combo.fullComboTaken = 0;  // as every frame's attack input does
    fight.AdvanceAudio();
    UnitSoundStep(Frame(), 2);
    EXPECT_EQ(stats.combo7Count, counts[k]);
    EXPECT_EQ(combo.comboLevel, levels[k] == 7 ? 0 : levels[k]);
    EXPECT_EQ(stats.combo7Counted, levels[k] == 7 ? 1 : 0);
  }
  EXPECT_EQ(golem.commentLatch, 1);
  fight.audio.ResetCounts();
  Run(
      kLong, [&](int) { combo.comboLevel = 0; }, [] { UnitSoundStep(Frame(), 2); });
  EXPECT_EQ(Ends(Comment(golem.commentPick)), 1);
  EXPECT_EQ(golem.commentLatch, 0);

  // The level reads 7 for up to 0.3 s of frames: one comment, not one started in each of them.
  fight.audio.ResetCounts();
  stats.combo7Counted = 0;  // a new combo
  auto frames = [&](int count, int level) {
    Run(
        count,
        [&](int) {
          combo.comboLevel = static_cast<uint8_t>(level);
          combo.fullComboTaken = 0;
        },
        [] { UnitSoundStep(Frame(), 2); });
  };
  frames(30, 7);
  EXPECT_GT(cSND::Position(Comment(golem.commentPick)), 0u) << "started once, not every frame";
  frames(kLong, 0);
  EXPECT_EQ(Ends(Comment(0)) + Ends(Comment(1)) + Ends(Comment(2)), 1);
}

TEST_F(UnitSoundsTest, TwoGolemsProcessedTogetherCountACombo7Once) {
  fight.Add(kGolem, 1200, 800);
  fight.Add(kGolem, 1400, 800);
  ComboState& combo = gameState.play.combo;
  LevelStats& stats = gameState.play.levelStats;
  // The level each frame's attack input evaluates: one combo 7 held over three frames, a frame
  // after it ended, and a second combo 7.
  const int levels[] = {7, 7, 7, 0, 7};
  const int counts[] = {1, 1, 1, 1, 2};
  for (std::size_t k = 0; k < std::size(levels); ++k) {
    SCOPED_TRACE(k);
    combo.comboLevel = static_cast<uint8_t>(levels[k]);
    combo.fullComboTaken = 0;
    fight.AdvanceAudio();
    UnitSoundStep(Frame(), 1);
    UnitSoundStep(Frame(), 2);
    EXPECT_EQ(stats.combo7Count, counts[k]);
    EXPECT_EQ(stats.combo7Counted, levels[k] == 7 ? 1 : 0);
  }
}
