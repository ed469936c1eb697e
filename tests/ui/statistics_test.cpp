// The statistics screen: its lines, the BINGO marks, the rank rules, the totals counted once per
// run, and Escape back to the menu.
#include "ui/statistics.hpp"

#include <gtest/gtest.h>

#include "app/game_state.hpp"
#include "app/input.hpp"
#include "test_support.hpp"

namespace {

struct StatisticsTest : ::testing::Test {
  FakeBackends fake{MORVA_TEST_CONTENT};
  void SetUp() override { gameState.fontTexture = 500; }

  // A level of a player and the given numbers of sentinels, guards and golems.
  void Level(int sentinels, int guards, int golems) {
    int n = 0;
    UnitAt(n++).kind = kPlayer;
    for (int i = 0; i < sentinels; ++i) UnitAt(n++).kind = kSentinel;
    for (int i = 0; i < guards; ++i) UnitAt(n++).kind = kGuard;
    for (int i = 0; i < golems; ++i) UnitAt(n++).kind = kGolem;
    gameState.map.CharCount = n;
  }
  void Kills(int sentinels, int guards, int golems, int heads, int combos = 0) {
    LevelStats& s = gameState.play.levelStats;
    s.kills[kSentinel] = sentinels;
    s.kills[kGuard] = guards;
    s.kills[kGolem] = golems;
    s.headsRemoved = heads;
    s.combo7Count = combos;
  }
  const std::vector<DrawRecord>& Show() {
    fake.renderer.BeginFrame(0, 800, 0, 600);
    RunStatistics(CurrentSceneFrame());
    return *fake.renderer.DrawList();
  }
  // The text drawn at (x, y), or "-" when none.
  std::string TextAt(double x, double y, int size = 16) {
    for (const DrawRecord& d : *fake.renderer.DrawList()) {
      if (d.op == "text" && d.x == x && d.y == y && d.size == size) return d.text;
    }
    return "-";
  }
  std::vector<int> BingoLines() {
    std::vector<int> ys;
    for (const DrawRecord& d : *fake.renderer.DrawList()) {
      if (d.text == "BINGO") {
        EXPECT_EQ(d.x, 500);
        ys.push_back(static_cast<int>(d.y));
      }
    }
    return ys;
  }
};

}  // namespace

TEST_F(StatisticsTest, TheBackgroundAndTheSevenLinesPaddedExactly) {
  Level(2, 3, 1);
  Kills(1, 3, 0, 2, 1);
  gameState.play.levelStats.points = 4560;
  gameState.play.levelStats.timeTaken = 75.4;
  const auto& d = Show();
  ASSERT_FALSE(d.empty());
  EXPECT_EQ(d[0].texturePath, "data\\hud\\statistics.dxt");
  EXPECT_EQ(d[0].x, 0);
  EXPECT_EQ(d[0].w, 800);
  EXPECT_EQ(d[0].h, 600);
  EXPECT_EQ(d[0].depth, -0.5);
  EXPECT_EQ(d[0].alpha, 1);
  const std::pair<int, std::string> lines[] = {
      {100, "TIME TAKEN      1 : 15"}, {125, "POINTS          4560"}, {145, std::string(30, '-')},
      {170, "sentinels kills 1/2"},    {195, "guards kills    3/3"},  {220, "golams kills    0/1"},
      {245, "heads removed   2/3"},    {270, "Combo 7         1/1"},
  };
  for (std::size_t i = 0; i < std::size(lines); ++i) {
    EXPECT_EQ(d[i + 1].text, lines[i].second);
    EXPECT_EQ(d[i + 1].x, 100);
    EXPECT_EQ(d[i + 1].y, lines[i].first);
    EXPECT_EQ(d[i + 1].size, 16);
    EXPECT_EQ(d[i + 1].texture, 500u);
  }
  EXPECT_EQ(BingoLines(), (std::vector<int>{195, 270}));
  // 2 of 3 heads with a golem alive: more than a fifth (0) and fewer than all.
  EXPECT_EQ(TextAt(100, 320), "rank            freak");
}

TEST_F(StatisticsTest, TheRankRules) {
  struct Row {
    int sentinels, guards, golems;               // in the level
    int sKills, gKills, goKills, heads, combos;  // achieved
    const char* rank;                            // "-" for none
    std::vector<int> bingo;
  };
  const Row rows[] = {
      // No guards and an enemy alive: 0/0 heads is complete, and that is HEADMASTER.
      {1, 0, 1, 0, 0, 1, 0, 0, "rank            HEADMASTER", {195, 220, 245}},
      // Everyone killed, at most half the guards beheaded: no rank at all.
      {1, 4, 1, 1, 4, 1, 2, 0, "-", {170, 195, 220}},
      {0, 3, 0, 0, 3, 0, 1, 0, "-", {170, 195, 220, 270}},
      // Everyone killed, every guard beheaded: BORN TO KILL.
      {2, 4, 1, 2, 4, 1, 4, 0, "rank ", {170, 195, 220, 245}},
      {0, 3, 0, 0, 3, 0, 2, 0, "rank ", {170, 195, 220, 270}},
      // Ten guards, one alive: a fifth is 2.
      {0, 10, 0, 0, 9, 0, 9, 0, "rank            freak", {170, 220, 270}},
      {0, 10, 0, 0, 9, 0, 3, 0, "rank            freak", {170, 220, 270}},
      {0, 10, 0, 0, 9, 0, 2, 0, "-", {170, 220, 270}},
      {0, 10, 0, 0, 9, 0, 1, 0, "rank            pouffe", {170, 220, 270}},
      {1, 10, 0, 0, 10, 0, 10, 0, "rank            HEADMASTER", {195, 220, 245, 270}},
      // The combo line counts against the golems: none in the level, none made.
      {1, 1, 0, 1, 1, 0, 1, 1, "rank ", {170, 195, 220, 245}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.sentinels << r.guards << r.golems << " killed "
                                      << r.sKills << r.gKills << r.goKills << " heads " << r.heads);
    ResetStatistics();
    gameState.flags.statsLoaded = 0;
    Level(r.sentinels, r.guards, r.golems);
    Kills(r.sKills, r.gKills, r.goKills, r.heads, r.combos);
    Show();
    EXPECT_EQ(TextAt(100, 320), r.rank);
    const bool bornToKill = std::string(r.rank) == "rank ";
    EXPECT_EQ(TextAt(100, 320, 20), bornToKill ? "             BORN TO KILL" : "-");
    EXPECT_EQ(BingoLines(), r.bingo);
  }
}

TEST_F(StatisticsTest, BornToKillIsDrawnOverTheRankWordInTheLargerSize) {
  Level(0, 2, 0);
  Kills(0, 2, 0, 2);
  const auto& d = Show();
  std::vector<std::string> rankDraws;
  for (const DrawRecord& x : d) {
    if (x.y == 320) rankDraws.push_back(x.text + "@" + std::to_string(x.size));
  }
  EXPECT_EQ(rankDraws,
            (std::vector<std::string>{"rank @16", std::string(13, ' ') + "BORN TO KILL@20"}));
}

TEST_F(StatisticsTest, TheTimeLineAtTheMinute) {
  Level(0, 0, 0);
  for (const auto& [t, text] : {std::pair<double, const char*>{59.9, "TIME TAKEN      0 : 59"},
                                {60.0, "TIME TAKEN      1 : 0"}}) {
    gameState.play.levelStats.timeTaken = t;
    Show();
    EXPECT_EQ(TextAt(100, 100), text);
  }
}

TEST_F(StatisticsTest, TheTotalsAreCountedOnceARun) {
  Level(1, 2, 3);
  Show();
  EXPECT_EQ(gameState.flags.statsLoaded, 1);
  EXPECT_EQ(statisticsScreen.totals[kSentinel], 1);
  EXPECT_EQ(statisticsScreen.totals[kGuard], 2);
  EXPECT_EQ(statisticsScreen.totals[kGolem], 3);
  const Texture background = statisticsScreen.background;
  Level(0, 5, 0);
  Show();
  EXPECT_EQ(TextAt(100, 195), "guards kills    0/2") << "a second visit reuses the first totals";
  EXPECT_EQ(statisticsScreen.background, background) << "and the picture";
  EXPECT_EQ(fake.renderer.Textures().size(), 1u);
}

TEST_F(StatisticsTest, EscapeLeavesForTheMenuWithTheLevelStillFinished) {
  Level(0, 0, 0);
  ModeFlags& f = gameState.flags;
  f.inGame = f.levelFinished = f.statsShown = 1;
  Show();
  EXPECT_EQ(f.statsShown, 1) << "shown until Escape";
  DXInput1.States.set(kPauseButton);
  Show();
  EXPECT_FALSE(DXInput1.Has(kPauseButton)) << "the press is used up";
  EXPECT_EQ(f.inGame, 0);
  EXPECT_EQ(f.statsShown, 0);
  EXPECT_EQ(f.menuShown, 1);
  EXPECT_EQ(f.levelFinished, 1);
}
