// The real program at the end of a level: the statistics screen instead of the level, Escape to
// the menu without Resume, and Start playing the level again.
#include <gtest/gtest.h>

#include "editing/level_source.hpp"
#include "game/level_test_support.hpp"

using nlohmann::json;

namespace {

struct StatisticsRunTest : ::testing::Test {
  TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  ContentCopy content{dir / "content"};

  void SetUp() override {
    // Two screens end at x 1200: the player starts past it, beside two guards and a sentinel.
    LevelMapFile map = FloorMap(2, 1);
    AddCharacter(map, kPlayer, 0, 1201, 300);
    AddCharacter(map, kGuard, 0, 900, 300);
    AddCharacter(map, kGuard, 1, 300, 300);
    AddCharacter(map, kSentinel, 0, 600, 100);
    content.SetLevelMap(map);
  }
  json Run(const std::string& script, int frames) {
    LevelRun run = RunLevelGame(dir.path(), content.root(), StartLevelScript() + script, frames);
    EXPECT_EQ(run.status, 0) << run.output;
    return run.state;
  }
  static std::vector<std::string> Texts(const json& state) {
    std::vector<std::string> texts;
    for (const json& d : state["drawList"]) {
      if (d["op"] == "text") texts.push_back(d["text"]);
    }
    return texts;
  }
};

// Escape on the statistics screen, then Start in the menu.
const int kEscape = kLevelFirstFrame + 10;
const int kStart = kLevelFirstFrame + 20;
std::string LeaveAndStart() {
  auto at = [](int frame, const std::string& what) { return std::to_string(frame) + " " + what; };
  return at(kEscape, "key down Escape\n") + at(kEscape + 2, "key up Escape\n") +
         at(kStart, "mouse move 385 207\n") + at(kStart + 2, "mouse down left\n") +
         at(kStart + 4, "mouse up left\n");
}

}  // namespace

TEST_F(StatisticsRunTest, TheEndOfTheMapShowsTheStatisticsInsteadOfTheLevel) {
  json s = Run("", kLevelFirstFrame + 5);
  EXPECT_EQ(s["flags"]["levelFinished"], 1);
  EXPECT_EQ(s["flags"]["statsShown"], 1);
  EXPECT_EQ(s["flags"]["statsLoaded"], 1);
  EXPECT_EQ(s["statistics"]["sentinelTotal"], 1);
  EXPECT_EQ(s["statistics"]["guardTotal"], 2);
  EXPECT_EQ(s["statistics"]["golemTotal"], 0);
  EXPECT_EQ(CountDraws(s, "quad", "statistics.dxt"), 1);
  EXPECT_EQ(CountDraws(s, "quad", "filter.dxt"), 0) << "no HUD while finished";
  EXPECT_EQ(CountDraws(s, "anim"), 0) << "nor any unit";
  const std::vector<std::string> expected = {"TIME TAKEN      0 : 0",
                                             "POINTS          0",
                                             std::string(30, '-'),
                                             "sentinels kills 0/1",
                                             "guards kills    0/2",
                                             "golams kills    0/0",
                                             "heads removed   0/2",
                                             "Combo 7         0/0",
                                             "BINGO",
                                             "BINGO"};
  // No rank: enemies live, and none of the two guards lost a head (a fifth of two is 0).
  EXPECT_EQ(Texts(s), expected);
}

TEST_F(StatisticsRunTest, EscapeShowsTheMenuWithoutResumeAndStartPlaysTheLevelAgain) {
  json menu = Run(LeaveAndStart(), kStart);
  EXPECT_EQ(menu["flags"]["inGame"], 0);
  EXPECT_EQ(menu["flags"]["statsShown"], 0);
  EXPECT_EQ(menu["flags"]["menuShown"], 1);
  EXPECT_EQ(menu["flags"]["levelFinished"], 1);
  EXPECT_EQ(CountDraws(menu, "quad", "statistics.dxt"), 0);
  EXPECT_EQ(CountDraws(menu, "quad", "bresume"), 0) << "Resume is hidden";
  EXPECT_EQ(CountDraws(menu, "quad", "bStart"), 1);

  // Start asks for a restart; the restart puts the player back past the end of the map, where
  // the level ends at once and the statistics come back.
  json again = Run(LeaveAndStart(), kStart + 40);
  EXPECT_EQ(again["flags"]["inGame"], 1);
  EXPECT_EQ(again["flags"]["menuShown"], 0);
  EXPECT_EQ(again["flags"]["restartRequested"], 0);
  EXPECT_EQ(again["flags"]["levelFinished"], 1);
  EXPECT_EQ(again["flags"]["statsShown"], 1);
  EXPECT_EQ(CountDraws(again, "quad", "statistics.dxt"), 1);
}
