// The real program from the menu into the level: where units stand, which wake and which are
// processed, the pause, and the level end.
#include <gtest/gtest.h>

#include <cmath>

#include "editing/level_source.hpp"
#include "game/level_test_support.hpp"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

struct LevelRunTest : ::testing::Test {
  TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  ContentCopy content{dir / "content"};

  LevelRun Run(const std::string& script, int frames) {
    LevelRun run = RunLevelGame(dir.path(), content.root(), StartLevelScript() + script, frames);
    EXPECT_EQ(run.status, 0) << run.output;
    return run;
  }
};

const json& UnitAtIndex(const json& state, int i) {
  return state["units"][static_cast<std::size_t>(i)];
}

}  // namespace

TEST_F(LevelRunTest, TheDemoLevelStartsWithEveryUnitAtItsPlaceAndTheCameraOnThePlayer) {
  LevelRun run = Run("", kLevelFirstFrame + 5);
  ASSERT_FALSE(run.state.is_null());
  const json& s = run.state;
  EXPECT_EQ(s["flags"]["inGame"], 1);
  EXPECT_EQ(s["flags"]["levelLoaded"], 1);
  EXPECT_EQ(s["flags"]["menuShown"], 0);

  LevelMapRead map = ReadLevelMapFile(content.root() / "data" / "levels" / "level1" / "level.mrv");
  ASSERT_TRUE(map.ok());
  EXPECT_EQ(s["map"]["Width"], map.map.Width);
  EXPECT_EQ(s["map"]["Height"], map.map.Height);
  ASSERT_EQ(s["map"]["CharCount"], map.map.CharCount());
  ASSERT_EQ(s["units"].size(), map.map.CharCount());
  for (std::size_t k = 0; k < map.map.CharCount(); ++k) {
    SCOPED_TRACE(k);
    // Each starts where the map put it; those near the player have taken a few steps since.
    EXPECT_NEAR(UnitAtIndex(s, static_cast<int>(k))["x"].get<double>(), map.map.CharPos[k].x, 20);
    EXPECT_NEAR(UnitAtIndex(s, static_cast<int>(k))["y"].get<double>(), map.map.CharPos[k].y, 20);
    EXPECT_EQ(UnitAtIndex(s, static_cast<int>(k))["kind"], map.map.CharType[k]);
  }
  const double px = map.map.CharPos[0].x;
  const double py = map.map.CharPos[0].y;
  EXPECT_EQ(s["camera"]["cameraX"], 400 - std::trunc(px));
  EXPECT_EQ(s["camera"]["cameraY"], 400 - std::trunc(py));
  // The frame shows the background, every screen of the level picture and the player.
  EXPECT_EQ(CountDraws(s, "quad", "bg.dx"), 1);
  EXPECT_EQ(CountDraws(s, "quad", "levels\\level1\\"), map.map.Width * map.map.Height);
  EXPECT_GE(CountDraws(s, "anim", "ravik"), 1);
  EXPECT_GT(s["levelStats"]["timeTaken"], 0.0);
  // The gameplay keys are bound by the load: S is the power-up input (button 9).
  EXPECT_EQ(s["units"][0]["activated"], 1);
}

TEST_F(LevelRunTest, UnitsWakeByTheirRuleAndAreProcessedOnlyNearThePlayer) {
  // Everyone stands still: feet (y + 56) rest on solid rows at y 360 and y 860.
  LevelMapFile map = FloorMap(4, 2);
  for (int cx = 0; cx < map.Columns(); ++cx) {
    for (int cy : {36, 37, 38, 86, 87, 88}) map.SetCell(cx, cy, 1);
  }
  AddCharacter(map, kPlayer, 0, 1000, 300);
  struct Row {
    uint8_t activation;
    int32_t x, y;
    int activated, inRange;
  };
  const Row rows[] = {
      {0, 1699, 300, 1, 1},  // 699 px to the right
      {0, 1700, 300, 1, 0},  // 700 px: not processed
      {0, 301, 300, 1, 1},   // 699 px to the left
      {1, 629, 300, 1, 1},   // the player is 371 px past it: awake
      {1, 630, 300, 0, 1},   // 370 px: still asleep
      {1, 1300, 300, 0, 1},  // ahead of the player: asleep
      {2, 900, 300, 0, 1},   // any other rule never wakes
      {0, 1000, 799, 1, 1},  // 499 px below
      {0, 1000, 800, 1, 0},  // 500 px below
  };
  for (const Row& r : rows) AddCharacter(map, kGuard, r.activation, r.x, r.y);
  content.SetLevelMap(map);

  LevelRun run = Run("", kLevelFirstFrame + 3);
  const json& s = run.state;
  ASSERT_EQ(s["units"].size(), 1u + std::size(rows));
  EXPECT_EQ(s["camera"]["cameraX"], -600.0);
  EXPECT_EQ(s["camera"]["cameraY"], 100.0);
  int processed = 1;  // the player
  for (std::size_t k = 0; k < std::size(rows); ++k) {
    SCOPED_TRACE(k);
    const json& u = UnitAtIndex(s, static_cast<int>(k + 1));
    EXPECT_EQ(u["activated"], rows[k].activated);
    EXPECT_EQ(u["inRange"], rows[k].inRange);
    if (rows[k].activated && rows[k].inRange) ++processed;
  }
  // Only processed units are drawn.
  EXPECT_EQ(CountDraws(s, "anim"), processed);
}

TEST_F(LevelRunTest, TheDumpShowsEachKindsOwnStateOnlyOnUnitsOfThatKind) {
  LevelMapFile map = FloorMap(2, 1);
  AddCharacter(map, kPlayer, 0, 300, 500);
  AddCharacter(map, kSentinel, 0, 450, 300);
  AddCharacter(map, kGolem, 0, 700, 500);
  content.SetLevelMap(map);
  LevelRun run = Run("", kLevelFirstFrame + 10);
  const json& sentinel = UnitAtIndex(run.state, 1);
  const json& golem = UnitAtIndex(run.state, 2);
  EXPECT_GT(sentinel["hoverPhase"], 0.0);
  EXPECT_GT(golem["idleTime"], 0.0);
  // The two kinds keep their state in the same bytes; each shows the other's fields as zero.
  EXPECT_EQ(sentinel["idleTime"], 0.0);
  EXPECT_EQ(golem["hoverPhase"], 0.0);
}

TEST_F(LevelRunTest, EscapePausesOncePerPressAndResumeCarriesOn) {
  const int press = kLevelFirstFrame + 20;
  // Escape held through the Resume click: the still-held key must not pause again.
  const std::string pause = std::to_string(press) + " key down Escape\n" +
                            std::to_string(press + 20) + " mouse move 385 157\n" +
                            std::to_string(press + 22) + " mouse down left\n" +
                            std::to_string(press + 24) + " mouse up left\n";
  LevelRun paused = Run(pause, press + 10);
  EXPECT_EQ(paused.state["flags"]["paused"], 1);
  EXPECT_EQ(paused.state["flags"]["menuShown"], 1);
  EXPECT_EQ(CountDraws(paused.state, "anim"), 0) << "nothing of the level is drawn";
  const double clockAtPause = paused.state["levelStats"]["timeTaken"];

  LevelRun later = Run(pause, press + 19);
  EXPECT_EQ(later.state["levelStats"]["timeTaken"], clockAtPause) << "the level clock stops";
  EXPECT_EQ(later.state["flags"]["paused"], 1);

  LevelRun resumed = Run(pause, press + 60);
  EXPECT_EQ(resumed.state["flags"]["paused"], 0) << "Escape still held does not pause again";
  EXPECT_EQ(resumed.state["flags"]["menuShown"], 0);
  EXPECT_GT(resumed.state["levelStats"]["timeTaken"], clockAtPause);

  const std::string again = pause + std::to_string(press + 70) + " key up Escape\n" +
                            std::to_string(press + 75) + " key down Escape\n";
  LevelRun second = Run(again, press + 80);
  EXPECT_EQ(second.state["flags"]["paused"], 1) << "a new press pauses again";
}

// Away from the window the level pauses as Escape pauses it; in the pause menu Escape resumes,
// but not an Escape still held from leaving the options.
TEST_F(LevelRunTest, LosingTheFocusPausesAndEscapeInThePauseMenuResumes) {
  const int away = kLevelFirstFrame + 20;
  const std::string lost = At(away, "focus lost") + At(away + 5, "focus gained");
  LevelRun paused = Run(lost, away + 10);
  EXPECT_EQ(paused.state["flags"]["paused"], 1);
  EXPECT_EQ(paused.state["flags"]["menuShown"], 1);

  const std::string resume =
      lost + At(away + 20, "key down Escape") + At(away + 22, "key up Escape");
  LevelRun resumed = Run(resume, away + 30);
  EXPECT_EQ(resumed.state["flags"]["paused"], 0);
  EXPECT_EQ(resumed.state["flags"]["menuShown"], 0);

  // Options (the fourth button), left with an Escape held into the menu for a while.
  const std::string options = lost + At(away + 20, "mouse move 385 307") +
                              At(away + 22, "mouse down left") + At(away + 24, "mouse up left") +
                              At(away + 50, "key down Escape") + At(away + 80, "key up Escape");
  LevelRun back = Run(options, away + 90);
  EXPECT_EQ(back.state["flags"]["optionsShown"], 0);
  EXPECT_EQ(back.state["flags"]["menuShown"], 1);
  EXPECT_EQ(back.state["flags"]["paused"], 1) << "the Escape that left the options";
}

// Right held through the pause and the resume still walks: the pause menu leaves it to the level.
TEST_F(LevelRunTest, ADirectionHeldThroughThePauseWalksAgainAfterResume) {
  LevelMapFile map = FloorMap(4, 1);
  AddCharacter(map, kPlayer, 0, 300, 500);
  content.SetLevelMap(map);
  const int hold = kLevelFirstFrame + 5;
  const std::string script = At(hold, "key down Right") + At(hold + 10, "key down Escape") +
                             At(hold + 11, "key up Escape") + At(hold + 80, "key down Escape") +
                             At(hold + 81, "key up Escape");
  const double resumedAt = UnitAtIndex(Run(script, hold + 85).state, 0)["x"];
  LevelRun later = Run(script, hold + 115);
  EXPECT_EQ(later.state["flags"]["paused"], 0);
  EXPECT_GT(UnitAtIndex(later.state, 0)["x"].get<double>(), resumedAt + 50);
}

// A hole down to the map's bottom edge: the player who walks into it dies there (a life item it
// falls through while dying does not revive it) and the level starts again; the guard that drops
// through is gone, unscored; the camera stops where a player standing on the bottom edge puts it.
TEST_F(LevelRunTest, AFallOutOfTheMapKillsThePlayerAndTakesAnEnemyAway) {
  LevelMapFile map = FloorMap(2, 2);
  for (int cx = 40; cx < map.Columns(); ++cx) {
    for (int cy = map.Rows() - 3; cy < map.Rows(); ++cy) map.SetCell(cx, cy, 0);
  }
  AddCharacter(map, kPlayer, 0, 340, 1100);
  AddCharacter(map, kGuard, 0, 900, 1000);
  AddItem(map, kItemLifeKind, 410, 1200);
  content.SetLevelMap(map);
  const int walk = kLevelFirstFrame + 5;
  const std::string script = At(walk, "key down Right") + At(walk + 30, "key up Right");
  // The player's feet lie 56 px below it.
  const double lowestCamera = 400 - (1200 - 56);
  for (int frames : {kLevelFirstFrame + 20, kLevelFirstFrame + 60, kLevelFirstFrame + 300}) {
    SCOPED_TRACE(frames);
    const json s = Run(script, frames).state;
    const json& player = UnitAtIndex(s, 0);
    EXPECT_GE(s["camera"]["cameraY"].get<double>(), lowestCamera);
    if (frames == kLevelFirstFrame + 20) continue;
    EXPECT_EQ(s["camera"]["cameraY"].get<double>(), lowestCamera);
    EXPECT_LT(player["life"].get<int>(), 1);
    EXPECT_EQ(s["items"][0]["picked"], 0) << "no life for the dying";
    EXPECT_EQ(s["engine"]["timeScale"], 1300);
    EXPECT_EQ(UnitAtIndex(s, 1)["fellOut"], 1);
    EXPECT_EQ(CountDraws(s, "anim"), 1) << "the guard is drawn no more";
    EXPECT_EQ(s["levelStats"]["points"], 0);
  }
  const json again = Run(script, kLevelFirstFrame + 500).state;
  EXPECT_EQ(again["engine"]["timeScale"], 1000);
  EXPECT_EQ(UnitAtIndex(again, 0)["life"], 100);
  EXPECT_EQ(UnitAtIndex(again, 0)["x"], 340) << "back at its start";
}

// A script's bindings decide which key strikes, and a session is recorded with the bindings in
// force, so that it replays alike wherever it is played.
TEST_F(LevelRunTest, TheBindingsOfARecordingDecideWhichKeyStrikes) {
  const int f = kLevelFirstFrame + 10;
  const std::string bind = "0 bind attack1 = A\n";
  LevelRun z = Run(bind + At(f, "key down Z") + At(f + 1, "key up Z"), f + 3);
  EXPECT_EQ(z.state["units"][0]["attack"], 0) << "Z strikes no more";
  LevelRun a = Run(bind + At(f, "key down A") + At(f + 1, "key up A"), f + 3);
  EXPECT_EQ(a.state["units"][0]["attack"], 1);

  WriteFile(dir / kUserConfigHome / "morva" / "settings.cfg", "attack1 = A | x\n");
  RunResult recorded = RunGame({"--headless", "--frames", "2", "--frame-ms", "10", "--root",
                                content.root().string(), "--record", "rec.txt"},
                               dir.path());
  ASSERT_EQ(recorded.status, 0) << recorded.output;
  EXPECT_NE(ReadFile(dir / "rec.txt").find("\n0 bind attack1 = A | x\n"), std::string::npos)
      << ReadFile(dir / "rec.txt");
}

TEST_F(LevelRunTest, TheLevelEndsOnlyPastTheRightEndOfTheMap) {
  // 2 screens: the end lies at x 1200; nothing moves the player yet, so the map places it.
  for (int32_t x : {1200, 1201}) {
    SCOPED_TRACE(x);
    LevelMapFile map = FloorMap(2, 1);
    AddCharacter(map, kPlayer, 0, x, 300);
    content.SetLevelMap(map);
    LevelRun run = Run("", kLevelFirstFrame + 3);
    const bool ended = x > 1200;
    EXPECT_EQ(run.state["flags"]["levelFinished"], ended ? 1 : 0);
    EXPECT_EQ(run.state["flags"]["statsShown"], ended ? 1 : 0);
    EXPECT_EQ(UnitAtIndex(run.state, 0)["x"], ended ? 0.0 : 1200.0);
    if (ended) EXPECT_EQ(run.state["levelStats"]["timeTaken"], 0.0) << "the clock never ran";
  }
}
