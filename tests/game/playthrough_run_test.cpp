// The recorded playthrough of the demo level (tests/data, made by tools/playthrough), replayed by
// the real program: it reaches the statistics screen with the statistics it was recorded with,
// Escape shows the menu without Resume, and Start plays the level again; with the level's drawing
// off it plays the same.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.hpp"

using nlohmann::json;

namespace {

const std::string kRecording = std::string(MORVA_TEST_DATA) + "/playthrough.script";
const std::string kExpectation = std::string(MORVA_TEST_DATA) + "/playthrough.expected.json";

// The frame of the first line of the recording that ends with `words`, at or after `from`.
int64_t FrameOf(const std::string& words, int64_t from = 0) {
  std::istringstream in(ReadFile(kRecording));
  std::string line;
  while (std::getline(in, line)) {
    const size_t space = line.find(' ');
    if (space == std::string::npos || line.substr(space + 1) != words) continue;
    const int64_t frame = std::stoll(line.substr(0, space));
    if (frame >= from) return frame;
  }
  ADD_FAILURE() << "the recording has no \"" << words << "\" after frame " << from;
  return -1;
}

struct PlaythroughRunTest : ::testing::Test {
  TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  json expected = json::parse(ReadFile(kExpectation));

  // Replays the recording for `frames` frames (0: to its end), with `more` options, and returns
  // the state dump.
  json Replay(int64_t frames, const std::vector<std::string>& more = {}) {
    std::vector<std::string> args = {
        "--headless",       "--frame-ms", "10",       "--seed",       "1",         "--root",
        MORVA_TEST_CONTENT, "--input",    kRecording, "--dump-state", "state.json"};
    args.insert(args.end(), more.begin(), more.end());
    if (frames > 0) {
      args.push_back("--frames");
      args.push_back(std::to_string(frames));
    }
    RunResult run = RunGame(args, dir.path());
    EXPECT_EQ(run.status, 0) << run.output;
    return json::parse(ReadFile(dir / "state.json"));
  }

  static std::vector<std::string> Texts(const json& state) {
    std::vector<std::string> texts;
    for (const json& d : state["drawList"]) {
      if (d["op"] == "text") texts.push_back(d["text"]);
    }
    return texts;
  }
  static int Draws(const json& state, const std::string& pathPart) {
    int n = 0;
    for (const json& d : state["drawList"]) {
      if (d.contains("texturePath") &&
          d["texturePath"].get<std::string>().find(pathPart) != std::string::npos) {
        ++n;
      }
    }
    return n;
  }
};

std::string Count(const json& done, const json& total) {
  return std::to_string(done.get<int>()) + "/" + std::to_string(total.get<int>());
}

}  // namespace

TEST_F(PlaythroughRunTest, TheReplayEndsOnTheStatisticsScreenWithTheRecordedStatistics) {
  // The player's own bindings do not change a recording, which replays with its own.
  WriteFile(dir / kUserConfigHome / "morva" / "settings.cfg", "attack1 = A\nattack3 = Z, X\n");
  // The frame before Escape: the statistics screen has been up for a second.
  json s = Replay(FrameOf("key down Escape"));
  ASSERT_EQ(s["flags"]["levelFinished"], 1);
  ASSERT_EQ(s["flags"]["statsShown"], 1);
  const json& stats = s["levelStats"];
  for (const char* field :
       {"points", "sentinelKills", "guardKills", "golemKills", "headsRemoved"}) {
    EXPECT_EQ(stats[field], expected[field]) << field;
  }
  EXPECT_NEAR(stats["timeTaken"].get<double>(), expected["timeTaken"].get<double>(), 1e-6);

  // As the screen shows them.
  const double t = expected["timeTaken"].get<double>();
  const int minutes = static_cast<int>(std::floor(t / 60));
  const int seconds = static_cast<int>(std::floor(t - 60 * minutes));
  const json& totals = s["statistics"];
  const std::vector<std::string> texts = Texts(s);
  ASSERT_GE(texts.size(), 7u);
  EXPECT_EQ(texts[0],
            "TIME TAKEN      " + std::to_string(minutes) + " : " + std::to_string(seconds));
  EXPECT_EQ(texts[1], "POINTS          " + std::to_string(expected["points"].get<int>()));
  EXPECT_EQ(texts[3],
            "sentinels kills " + Count(expected["sentinelKills"], totals["sentinelTotal"]));
  EXPECT_EQ(texts[4], "guards kills    " + Count(expected["guardKills"], totals["guardTotal"]));
  EXPECT_EQ(texts[5], "golams kills    " + Count(expected["golemKills"], totals["golemTotal"]));
  EXPECT_EQ(texts[6], "heads removed   " + Count(expected["headsRemoved"], totals["guardTotal"]));

  // The recorded player met every enemy of the level (all lie dead) and took at least one head.
  EXPECT_EQ(expected["sentinelKills"], totals["sentinelTotal"]);
  EXPECT_EQ(expected["guardKills"], totals["guardTotal"]);
  EXPECT_EQ(expected["golemKills"], totals["golemTotal"]);
  EXPECT_GE(expected["headsRemoved"].get<int>(), 1);
}

TEST_F(PlaythroughRunTest, EscapeShowsTheMenuWithoutResumeAndStartPlaysTheLevelAgain) {
  // Just before the click on Start.
  const int64_t click = FrameOf("mouse down left", FrameOf("key down Escape"));
  json menu = Replay(click);
  EXPECT_EQ(menu["flags"]["inGame"], 0);
  EXPECT_EQ(menu["flags"]["menuShown"], 1);
  EXPECT_EQ(menu["flags"]["levelFinished"], 1);
  EXPECT_EQ(Draws(menu, "statistics.dxt"), 0);
  EXPECT_EQ(Draws(menu, "bresume"), 0) << "Resume is hidden";
  EXPECT_EQ(Draws(menu, "bStart"), 1);

  // The recording ends half a second into the level played again from its start.
  json again = Replay(0);
  EXPECT_EQ(again["flags"]["inGame"], 1);
  EXPECT_EQ(again["flags"]["levelFinished"], 0);
  EXPECT_EQ(again["flags"]["statsShown"], 0);
  EXPECT_EQ(again["levelStats"]["points"], 0);
  EXPECT_GT(again["levelStats"]["timeTaken"].get<double>(), 0.0);
  EXPECT_LT(again["levelStats"]["timeTaken"].get<double>(), 1.0);
  const json& player = again["units"][0];
  EXPECT_EQ(player["life"], 100);
  EXPECT_LT(player["x"].get<double>(), 400.0) << "back at the start of the map";
  for (std::size_t i = 1; i < again["units"].size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_GT(again["units"][i]["life"].get<int>(), 0) << "every enemy lives again";
  }
}

TEST_F(PlaythroughRunTest, WithTheLevelsDrawingOffTheWholeReplayEndsInTheSameState) {
  json drawn = Replay(0);
  json undrawn = Replay(0, {"--no-draw"});
  // It ends in the level played again, where nothing at all is drawn.
  ASSERT_EQ(undrawn["flags"]["inGame"], 1);
  EXPECT_FALSE(drawn["drawList"].empty());
  EXPECT_TRUE(undrawn["drawList"].empty());
  drawn.erase("drawList");
  undrawn.erase("drawList");
  EXPECT_EQ(drawn, undrawn);
}
