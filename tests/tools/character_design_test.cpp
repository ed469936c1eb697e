// The character definitions: frame tables that fit their folders, the blow frames the hit tests
// rely on, and numbers that make the fight winnable.
#include <gtest/gtest.h>

#include <set>

#include "mkcontent/characters.hpp"

namespace {
bool Contains(const AnimEntry& e, int frame) {
  return frame >= e.firstFrame && frame < e.firstFrame + e.frameCount;
}
// A picture stays its rate plus one 10 ms frame step on screen.
double SecondsUntil(const AnimEntry& e, int frame) {
  return (frame - e.firstFrame) * (e.rate + 0.01);
}
}  // namespace

TEST(CharacterDesign, EveryTableEntryShowsFramesTheFolderHolds) {
  for (int kind = 0; kind < 4; ++kind) {
    const CharacterDesign& d = Design(kind);
    SCOPED_TRACE(d.name);
    EXPECT_EQ(d.record.kind, kind);
    std::set<int> covered;
    for (const ClipRun& run : d.runs) {
      for (int f = run.firstFrame; f < run.firstFrame + run.frameCount; ++f)
        EXPECT_TRUE(covered.insert(f).second);
    }
    EXPECT_EQ(static_cast<int>(covered.size()), d.FrameCount());
    EXPECT_EQ(*covered.rbegin(), d.FrameCount() - 1);
    EXPECT_LE(d.FrameCount(), 513);
    for (const AnimEntry& e : d.record.anims) {
      EXPECT_GE(e.firstFrame, 0);
      EXPECT_GE(e.frameCount, 1);
      EXPECT_LE(e.firstFrame + e.frameCount, d.FrameCount());
      EXPECT_GT(e.rate, 0.0);
    }
    for (int f = 0; f < d.FrameCount(); ++f) EXPECT_NO_THROW(FrameAt(d, f));
    EXPECT_THROW(FrameAt(d, d.FrameCount()), std::out_of_range);
  }
}

TEST(CharacterDesign, BlowsLandOnTheFramesTheHitTestsWatch) {
  const CharacterRecord& guard = Design(2).record;
  ASSERT_TRUE(Contains(guard.anims[4], 60));
  EXPECT_EQ(FrameAt(Design(2), 60).clip, Clip::Strike);
  const CharacterRecord& golem = Design(3).record;
  ASSERT_TRUE(Contains(golem.anims[4], 33));
  ASSERT_TRUE(Contains(golem.anims[5], 62));
  EXPECT_EQ(FrameAt(Design(3), 33).clip, Clip::Blow1);
  EXPECT_EQ(FrameAt(Design(3), 62).clip, Clip::Blow2);
  // A blow never lands in another clip the same kind shows.
  for (int slot : {0, 1, 2, 10, 11}) EXPECT_FALSE(Contains(guard.anims[slot], 60)) << slot;
  for (int slot : {0, 1, 2, 10, 17}) {
    EXPECT_FALSE(Contains(golem.anims[slot], 33)) << slot;
    EXPECT_FALSE(Contains(golem.anims[slot], 62)) << slot;
  }
}

TEST(CharacterDesign, TheFightIsFair) {
  const CharacterRecord& hero = Design(0).record;
  const CharacterRecord& sentinel = Design(1).record;
  const CharacterRecord& guard = Design(2).record;
  const CharacterRecord& golem = Design(3).record;
  // A guard's axe takes longer to fall than the player's stun from the last blow lasts (0.7 s),
  // so a struck player always gets a moment to answer.
  EXPECT_GT(SecondsUntil(guard.anims[4], 60), 0.7);
  // The golem's wind-ups give time to crouch or step away.
  EXPECT_GT(SecondsUntil(golem.anims[4], 33), 0.6);
  EXPECT_GT(SecondsUntil(golem.anims[5], 62), 0.6);
  // One blow fells a sentinel, three a guard; the player survives a dozen guard blows.
  EXPECT_GE(hero.damage, sentinel.life);
  EXPECT_LE((guard.life + hero.damage - 1) / hero.damage, 3);
  EXPECT_GE(hero.life / guard.damage, 12);
  EXPECT_GE(hero.life / golem.damage, 4);
  // Combo blows (2 points more) take a golem down in fewer strikes: the combo matters.
  int plain = (golem.life + hero.damage - 1) / hero.damage;
  int combo = (golem.life + hero.damage + 1) / (hero.damage + 2);
  EXPECT_LT(combo, plain);
  // The player outruns every enemy; a sentinel shot down falls to the ground.
  EXPECT_GT(hero.speed, guard.speed);
  EXPECT_GT(hero.speed, golem.speed);
  EXPECT_EQ(sentinel.collisionMode, 1);
  for (int kind = 0; kind < 4; ++kind) {
    const CharacterRecord& r = Design(kind).record;
    EXPECT_LT(r.boxLeft, 0);
    EXPECT_GT(r.boxRight, 0);
    EXPECT_LT(r.boxTop, 0);
    // The feet stay inside the sprite, which is drawn centred on the unit.
    EXPECT_LE(r.boxBottom, r.spriteSize / 2);
  }
}

TEST(CharacterDesign, RecordsSurviveTheFileFormat) {
  for (int kind = 0; kind < 4; ++kind) {
    CharacterRecordBytes bytes = EncodeCharacterRecord(Design(kind).record);
    EXPECT_EQ(DecodeCharacterRecord(bytes), Design(kind).record);
  }
}
