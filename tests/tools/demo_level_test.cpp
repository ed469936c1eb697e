// The demo level: big enough, all enemy kinds and both wake-up rules, nobody starts in a wall,
// and every item can be reached by standing on something.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "editing/level_source.hpp"

namespace {

LevelSource DemoLevel() {
  std::ifstream in(MORVA_LEVEL_SOURCE);
  std::stringstream text;
  text << in.rdbuf();
  LevelSourceParse parse = ParseLevelSource(text.str());
  EXPECT_TRUE(parse.source.has_value()) << parse.error;
  return parse.source.value_or(LevelSource{});
}

}  // namespace

TEST(DemoLevel, HoldsEveryKindOfFoeAndItem) {
  LevelSource level = DemoLevel();
  EXPECT_GE(level.width, 6);
  EXPECT_GE(level.height, 2);
  int count[4] = {};
  bool awake = false, behind = false;
  for (const LevelCharacter& c : level.characters) {
    ASSERT_LE(c.kind, 3);
    ++count[c.kind];
    awake |= c.wake == kWakeAwake && c.kind != kPlayer;
    behind |= c.wake == kWakeBehind;
  }
  EXPECT_EQ(level.characters.front().kind, kPlayer);
  EXPECT_EQ(count[kPlayer], 1);
  EXPECT_GE(count[kSentinel], 3);
  EXPECT_GE(count[kGuard], 6);
  EXPECT_GE(count[kGolem], 2);
  EXPECT_TRUE(awake);
  EXPECT_TRUE(behind);
  bool life = false, power = false;
  for (const LevelItem& item : level.items) {
    life |= item.kind == kItemLife;
    power |= item.kind == kItemPower;
  }
  EXPECT_TRUE(life);
  EXPECT_TRUE(power);
  // The level ends at the right: the player starts far from it.
  EXPECT_LT(level.characters.front().x, level.width * 800 - 400 - 3000);
  LevelCompile compiled = CompileLevel(level);
  EXPECT_TRUE(compiled.map.has_value()) << compiled.error;
}

TEST(DemoLevel, WalkersStartStandingAndItemsRestOnSomething) {
  LevelSource level = DemoLevel();
  ASSERT_GT(level.cellPx, 0);
  const int cell = level.cellPx;
  auto solidAt = [&](int x, int y) { return CollisionValue(level.Glyph(x / cell, y / cell)) == 1; };
  auto standingAt = [&](int x, int y) {
    return CollisionValue(level.Glyph(x / cell, y / cell)) != 0;
  };
  const int feet[4] = {56, 0, 56, 108};
  for (std::size_t k = 0; k < level.characters.size(); ++k) {
    const LevelCharacter& c = level.characters[k];
    if (c.kind == kSentinel) {
      EXPECT_FALSE(solidAt(c.x, c.y)) << "sentinel " << k;
      continue;
    }
    int foot = c.y + feet[c.kind];
    // Clear of the ground above the feet, and ground within a few pixels below them.
    EXPECT_FALSE(solidAt(c.x, foot - 10)) << "character " << k;
    EXPECT_FALSE(solidAt(c.x, c.y)) << "character " << k;
    EXPECT_TRUE(standingAt(c.x, foot + 6)) << "character " << k;
  }
  for (std::size_t k = 0; k < level.items.size(); ++k) {
    const LevelItem& item = level.items[k];
    // The picture is 50 px high; something to stand on lies just below it.
    EXPECT_FALSE(solidAt(item.x, item.y + 25)) << "item " << k;
    EXPECT_TRUE(standingAt(item.x, item.y + 56)) << "item " << k;
  }
}
