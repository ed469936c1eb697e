// The table of kinds: every row holds what each list built from it needs, and no two rows claim
// the same word, key, file or place in the load order.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "content/level_assets.hpp"
#include "game/kinds.hpp"
#include "game/unit.hpp"

namespace {

// What the level source, the editor and the checks need of a row.
void ExpectNamed(const KindRow& k, std::set<std::string>& words, std::set<char>& keys) {
  EXPECT_TRUE(k.name && *k.name && words.insert(k.name).second) << "word of " << k.name;
  EXPECT_TRUE(k.inMessages && *k.inMessages) << k.name;
  EXPECT_TRUE(k.letter && *k.letter) << k.name;
  if (k.editorKey != 0) {
    EXPECT_TRUE(keys.insert(k.editorKey).second) << "key of " << k.name;
    // The editor's own keys: tools, wake rule, zoom, picture, items.
    EXPECT_EQ(std::string("WZBLP12345678").find(k.editorKey), std::string::npos) << k.name;
  }
  EXPECT_LT(k.demoBody.left, k.demoBody.right) << k.name;
  EXPECT_LT(k.demoBody.top, k.demoBody.bottom) << k.name;
}

// What the level load, the content checker and the generator need of a row.
void ExpectFiles(const KindRow& k, std::set<std::string>& files, std::set<int>& ranks) {
  ASSERT_TRUE(k.definition && k.frames) << k.name;
  EXPECT_TRUE(files.insert(k.definition).second) << k.definition;
  EXPECT_TRUE(files.insert(k.frames).second) << k.frames;
  EXPECT_EQ(std::string(k.frames).back(), '\\') << k.frames;
  EXPECT_TRUE(ranks.insert(k.framesLoadRank).second) << "frame load rank of " << k.name;
  std::set<int> slots;
  for (const SoundFile& s : k.sounds) {
    EXPECT_TRUE(s.slot >= 0 && s.slot < kUnitSoundSlots && slots.insert(s.slot).second)
        << k.name << " slot " << s.slot;
    EXPECT_TRUE(files.insert(s.path).second) << s.path;
  }
  std::set<int> shown(k.animations.begin(), k.animations.end());
  for (uint8_t a : k.animations) EXPECT_LT(a, kAnimCount) << k.name;
  for (const BlowFrame& b : k.blowFrames) EXPECT_TRUE(shown.count(b.animation)) << k.name;
}

}  // namespace

TEST(KindTable, EveryRowIsCompleteAndNoTwoRowsClaimTheSameThing) {
  ASSERT_GE(kKinds.size(), 2u);
  ASSERT_LE(kKinds.size(), static_cast<std::size_t>(kKindSlots));
  std::set<std::string> words, files, counted;
  std::set<char> keys;
  std::set<int> ranks;
  for (std::size_t kind = 0; kind < kKinds.size(); ++kind) {
    const KindRow& k = kKinds[kind];
    ExpectNamed(k, words, keys);
    ExpectFiles(k, files, ranks);
    // An enemy acts, makes its sounds and shows its state; the player's own code does the first
    // two for it.
    if (kind > 0) {
      EXPECT_TRUE(k.rules.update && k.rules.sounds) << k.name;
      EXPECT_NE(k.editorKey, 0) << k.name;
    }
    EXPECT_TRUE(k.rules.selectAnimation) << k.name;
    // A counted kind has its line, its count's and its total's names in the dump, all three.
    const StatisticsRow& st = k.statistics;
    EXPECT_EQ(!st.label, !st.dumpName) << k.name;
    EXPECT_EQ(!st.label, !st.totalName) << k.name;
    if (st.label) EXPECT_TRUE(counted.insert(st.dumpName).second) << st.dumpName;
  }
  EXPECT_EQ(kKinds[kPlayer].editorKey, 0) << "the player is placed only as the first character";
}
