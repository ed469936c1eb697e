// The real program fighting, headless from the menu into the level, checked from the state dump:
// a guard walks up to the standing player and strikes, a crouch lets its strikes pass, the combo
// 1, 3, 1 beheads it, and a player who stands still is killed, time slows, the screen fades red
// and the level starts again.
#include <gtest/gtest.h>

#include <cmath>

#include "editing/level_source.hpp"
#include "game/level_test_support.hpp"

using nlohmann::json;

namespace {

struct CombatRunTest : ::testing::Test {
  TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  ContentCopy content{dir / "content"};

  json Run(int frames, const std::string& script = "") {
    LevelRun run = RunLevelGame(dir.path(), content.root(), StartLevelScript() + script, frames);
    EXPECT_EQ(run.status, 0) << run.output;
    return run.state;
  }
};

const json& UnitJson(const json& state, int i) {
  return state["units"][static_cast<std::size_t>(i)];
}

// On a floor of FloorMap(w, 2): feet on its top, 1170 px down.
constexpr int32_t kStandY = 1170 - 56;
constexpr int32_t kGolemStandY = 1190 - 108;
// The step of a slowed frame of 10 ms, and the fade it adds.
constexpr double kSlowedMs = 10 * 1000.0 / 1300;

}  // namespace

TEST_F(CombatRunTest, TheDemoGuardWalksUpToThePlayerAndEachStrikeTakesItsDamage) {
  // The player stands at 120; the first guard starts at 700.
  json walking = Run(kLevelFirstFrame + 260);
  const json& g = UnitJson(walking, 1);
  ASSERT_EQ(g["kind"], 2);
  EXPECT_EQ(g["moving"], 1);
  EXPECT_EQ(g["attack"], 0);
  EXPECT_LT(g["x"].get<double>(), 700.0);
  EXPECT_EQ(UnitJson(walking, 0)["life"], 100);

  json struck = Run(kLevelFirstFrame + 660);
  const json& p = UnitJson(struck, 0);
  const json& guard = UnitJson(struck, 1);
  // Stopped where the bodies touch (14 + 15 + 1 px), striking.
  EXPECT_EQ(guard["moving"], 0);
  EXPECT_EQ(guard["attack"], 1);
  EXPECT_LE(guard["x"].get<double>() - 120, 30.0);
  EXPECT_GT(guard["x"].get<double>() - 120, 30.0 - 0.11 * 10);
  const int lost = 100 - p["life"].get<int>();
  EXPECT_GE(lost, 7);
  EXPECT_EQ(lost % 7, 0) << "whole strikes of the guard's damage, 7";
  EXPECT_DOUBLE_EQ(p["stunLength"].get<double>(), 0.7);
  EXPECT_EQ(guard["life"], 30) << "the player has not struck back";
}

TEST_F(CombatRunTest, APlayerWhoStandsStillDiesInSlowMotionUnderARedFadeAndTheLevelRestarts) {
  LevelMapFile map = FloorMap(4, 2);
  AddCharacter(map, kPlayer, 0, 1000, kStandY);
  // Three guards already touching the player strike from the start; a fourth walks up.
  AddCharacter(map, kGuard, 0, 970, kStandY);
  AddCharacter(map, kGuard, 0, 1030, kStandY);
  AddCharacter(map, kGuard, 0, 1029, kStandY);
  AddCharacter(map, kGuard, 0, 1300, kStandY);
  AddCharacter(map, kGolem, 0, 1500, kGolemStandY);
  content.SetLevelMap(map);

  const int dead = kLevelFirstFrame + 600;
  json dying = Run(dead);
  const json& p = UnitJson(dying, 0);
  ASSERT_LT(p["life"].get<int>(), 1);
  EXPECT_EQ(dying["engine"]["timeScale"], 1300);
  EXPECT_NEAR(dying["engine"]["frameTime"].get<double>(), kSlowedMs, 1e-9);
  for (int i = 1; i <= 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(UnitJson(dying, i)["attack"], 0) << "no enemy strikes any more";
    EXPECT_EQ(UnitJson(dying, i)["idle"], 1);
  }
  EXPECT_NE(UnitJson(dying, 4)["x"].get<double>(), 1300.0) << "the fourth guard had walked";
  EXPECT_GT(dying["levelStats"]["timeTaken"].get<double>(), 3.0);
  float fade = dying["deathFade"].get<float>();
  ASSERT_GT(fade, 0.0f);
  ASSERT_LT(fade, 1.5f);

  // The fade grows by 0.0005 per slowed ms; the frame after it reaches 1.5 asks for the restart,
  // which the next frame carries out.
  int more = 0;
  while (fade < 1.5f) {
    fade = static_cast<float>(fade + 0.0005 * kSlowedMs);
    ++more;
  }
  json faded = Run(dead + more);
  EXPECT_GE(faded["deathFade"].get<float>(), 1.5f);
  EXPECT_EQ(faded["engine"]["timeScale"], 1300);
  EXPECT_LT(UnitJson(faded, 0)["life"].get<int>(), 1);
  // The golem was still on its way when the player fell, and has not moved since.
  EXPECT_LT(UnitJson(dying, 5)["x"].get<double>(), 1500.0);
  EXPECT_GT(UnitJson(dying, 5)["x"].get<double>(), 1148.0);
  EXPECT_EQ(UnitJson(faded, 5)["x"], UnitJson(dying, 5)["x"]);

  json restarted = Run(dead + more + 2);
  EXPECT_EQ(restarted["flags"]["restartRequested"], 0);
  EXPECT_EQ(restarted["engine"]["timeScale"], 1000);
  EXPECT_EQ(restarted["deathFade"], 0.0);
  const json& q = UnitJson(restarted, 0);
  EXPECT_EQ(q["life"], 100);
  EXPECT_EQ(q["deathTime"], 0.0);
  EXPECT_EQ(q["x"], 1000.0);
  EXPECT_EQ(q["y"], static_cast<double>(kStandY));
  EXPECT_EQ(q["anim"]["oneShot"], 0) << "the death's hold is let go: loops show every picture";
  EXPECT_EQ(UnitJson(restarted, 1)["x"], 970.0);
  EXPECT_EQ(UnitJson(restarted, 2)["x"], 1030.0);
  // One frame of walking since the restart.
  EXPECT_NEAR(UnitJson(restarted, 4)["x"].get<double>(), 1300 - 0.11 * 10, 1e-9);
  EXPECT_EQ(UnitJson(restarted, 4)["attack"], 0);
  EXPECT_EQ(restarted["levelStats"]["timeTaken"], 0.01) << "the clock started again";
  EXPECT_EQ(restarted["levelStats"]["points"], 0);
  EXPECT_EQ(restarted["camera"]["cameraX"], -600.0);
}

namespace {

// The player at 1000 with a guard already touching it from the right.
LevelMapFile FaceToFaceMap() {
  LevelMapFile map = FloorMap(4, 2);
  AddCharacter(map, kPlayer, 0, 1000, kStandY);
  AddCharacter(map, kGuard, 0, 1029, kStandY);
  return map;
}

// Attacks 1, 3, 1 (Z, C, Z), `gap` frames of 10 ms apart, the first before frame 45.
std::string ComboScript(int gap) {
  std::string script;
  const char* keys[] = {"Z", "C", "Z"};
  for (int n = 0; n < 3; ++n) {
    const int f = 45 + n * gap;
    script +=
        At(f, std::string("key down ") + keys[n]) + At(f + 1, std::string("key up ") + keys[n]);
  }
  return script;
}

}  // namespace

TEST_F(CombatRunTest, ACrouchLetsTheGuardsStrikesPassOverThePlayer) {
  content.SetLevelMap(FaceToFaceMap());
  struct Row {
    const char* name;
    std::string script;
    bool hurt;
  };
  // Two seconds hold more than two of the guard's strike cycles of 0.77 s.
  const Row rows[] = {
      {"standing", "", true},
      {"crouching", At(41, "key down Down"), false},
      // Letting go of a key ends the crouch.
      {"Down tapped", At(41, "key down Down") + At(42, "key up Down"), true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    json s = Run(kLevelFirstFrame + 200, row.script);
    const json& p = UnitJson(s, 0);
    EXPECT_EQ(p["crouching"], row.hurt ? 0 : 1);
    if (row.hurt) {
      EXPECT_LT(p["life"].get<int>(), 100);
      EXPECT_EQ((100 - p["life"].get<int>()) % 7, 0) << "whole strikes of 7";
    } else {
      EXPECT_EQ(p["life"], 100);
    }
    EXPECT_EQ(UnitJson(s, 1)["life"], 30);
  }
}

TEST_F(CombatRunTest, AttacksOneThreeOneInsideTheirTimingWindowBeheadAGuard) {
  content.SetLevelMap(FaceToFaceMap());
  struct Row {
    int gap;  // frames of 10 ms between the presses
    bool beheaded;
  };
  // More than 0.2 s and less than 0.3 s after the press before; at 0.31 s the combo has ended
  // and the three plain blows of 10 only kill the guard's 30 life.
  const Row rows[] = {{21, true}, {25, true}, {29, true}, {31, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.gap);
    json s = Run(45 + 2 * row.gap + 30, ComboScript(row.gap));
    const json& guard = UnitJson(s, 1);
    EXPECT_LT(guard["life"].get<int>(), 1) << "three blows landed";
    EXPECT_EQ(guard["headOff"], row.beheaded ? 1 : 0);
    EXPECT_EQ(s["levelStats"]["headsRemoved"], row.beheaded ? 1 : 0);
    EXPECT_EQ(s["levelStats"]["points"], row.beheaded ? 50 : 20);
    EXPECT_EQ(UnitJson(s, 0)["life"], 100) << "the stunned guard never struck back";
  }
}

TEST_F(CombatRunTest, ARecordedFightWithABeheadingReplaysToTheSameDump) {
  content.SetLevelMap(FaceToFaceMap());
  WriteFile(dir / "in.txt", StartLevelScript() + ComboScript(25));
  const std::string frames = "160";
  RunResult live = RunGame({"--headless", "--frames", frames, "--frame-ms", "10", "--seed", "11",
                            "--root", content.root().string(), "--input", "in.txt", "--record",
                            "rec.txt", "--dump-state", "live.json"},
                           dir.path());
  ASSERT_EQ(live.status, 0) << live.output;
  const std::string first = ReadFile(dir / "live.json");
  ASSERT_EQ(json::parse(first)["units"][1]["headOff"], 1);

  RunResult replay = RunGame({"--headless", "--frames", frames, "--root", content.root().string(),
                              "--input", "rec.txt", "--dump-state", "replay.json"},
                             dir.path());
  ASSERT_EQ(replay.status, 0) << replay.output;
  EXPECT_EQ(ReadFile(dir / "replay.json"), first);
}
