// The Controls page through the real program: rebinding from the keyboard, the mouse and a
// controller, the change applying at once (also in a paused level), settings.cfg written and read
// by the next run, and the training pages naming the keys the bindings give.
#include "ui/controls.hpp"

#include <gtest/gtest.h>

#include "ui/menu.hpp"
#include "ui/ui_run.hpp"

namespace fs = std::filesystem;

namespace {
// Script lines tapping keys a few frames apart from `frame` on.
struct Taps {
  int frame;
  std::string script;
  Taps& Key(const std::string& name, int times = 1) {
    for (int i = 0; i < times; ++i) {
      script += std::to_string(frame) + " key down " + name + "\n" + std::to_string(frame + 1) +
                " key up " + name + "\n";
      frame += 4;
    }
    return *this;
  }
  Taps& Line(const std::string& what) {
    script += std::to_string(frame) + " " + what + "\n";
    frame += 4;
    return *this;
  }
  Taps& Wait(int frames) {
    frame += frames;
    return *this;
  }
};

// From the menu with the highlight on its first button (Start, or Resume in a paused level):
// the options, then the Controls button under the five controls above it.
Taps& OpenControlsFromMenu(Taps& t, int downsToOptions) {
  return t.Key("Down", downsToOptions).Key("Return").Wait(20).Key("Down", 5).Key("Return");
}

fs::path SettingsFile(const UiGame& game) {
  return UserConfigFile(game.dir.path()).parent_path() / "settings.cfg";
}

int AttackAfterA(const nlohmann::json& state) {
  return state["units"][0]["attack"].get<int>();
}
}  // namespace

TEST(ControlsRun, AttackOneReboundToAFromTheKeyboardStrikesAndTheNextRunKeepsIt) {
  UiGame game;
  game.root = MORVA_TEST_CONTENT;
  Taps t{20, SkipIntro()};
  OpenControlsFromMenu(t, 3).Key("Down", 4).Key("Return").Key("A").Key("Escape").Wait(6);
  t.Key("Escape").Wait(10).Key("Up", 2).Key("Return").Wait(120).Key("A");
  auto state = game.Run(t.script, t.frame);
  ASSERT_EQ(state["flags"]["inGame"], 1);
  EXPECT_EQ(AttackAfterA(state), 1) << "A strikes";
  EXPECT_EQ(state["bindings"]["attack1"], "A | a");
  const std::string file = ReadFile(SettingsFile(game));
  EXPECT_NE(file.find("\nattack1 = A | a\n"), std::string::npos) << file;
  EXPECT_EQ(file.find("attack2"), std::string::npos) << "only what changed is written";

  // The next run, without a script of its own, plays with the file's bindings.
  RunResult next =
      RunGame({"--headless", "--frames", "2", "--root", game.root, "--dump-state", "next.json"},
              game.dir.path());
  ASSERT_EQ(next.status, 0) << next.output;
  auto nextState = nlohmann::json::parse(ReadFile(game.dir / "next.json"));
  EXPECT_EQ(nextState["bindings"]["attack1"], "A | a");
}

TEST(ControlsRun, AChangeInAPausedLevelAppliesWhenItResumes) {
  UiGame game;
  game.root = MORVA_TEST_CONTENT;
  // Paused, by the mouse: Options, Controls, the attack 1 row, then A; Escape twice and Resume.
  Taps t{20, SkipIntro()};
  t.Key("Down").Key("Return").Wait(120).Key("Escape").Wait(10);
  t.script += Click(t.frame, 385, MenuButtonY(MenuButton::Options) + 15) +
              Click(t.frame + 20, 600, 248) + Click(t.frame + 30, 300, ControlsRowY(4) + 10);
  t.Wait(40).Key("A").Key("Escape").Wait(6).Key("Escape").Wait(10);
  t.script += Click(t.frame, 385, MenuButtonY(MenuButton::Resume) + 15);
  t.Wait(30);
  const std::string resumed = t.script;
  auto state = game.Run(resumed + t.Key("Z").script, t.frame);
  ASSERT_EQ(state["flags"]["paused"], 0);
  EXPECT_EQ(state["bindings"]["attack1"], "A | a");
  EXPECT_EQ(AttackAfterA(state), 0) << "Z no longer strikes";
  state = game.Run(resumed + std::to_string(t.frame - 4) + " key down A\n", t.frame);
  EXPECT_EQ(AttackAfterA(state), 1) << "A strikes at once";
}

TEST(ControlsRun, TheMouseAndAControllerRebindCancelAndRestoreTheDefaults) {
  UiGame game;
  const int row = ControlsRowY(5) + 10;  // attack2
  const std::string open = SkipIntro() + Click(10, 385, 305) + Click(30, 600, 248);
  struct Case {
    const char* name;
    std::string then;
    const char* attack2;
    const char* attack4;
  } cases[] = {
      {"a controller button moves", Click(40, 300, row) + "50 pad press y down\n", "X | y",
       "Left Ctrl, Right Ctrl"},
      {"Escape cancels",
       Click(40, 300, row) + "50 key down Escape\n51 key up Escape\n" + "55 key down A\n", "X | b",
       "Left Ctrl, Right Ctrl | y"},
      {"a click cancels", Click(40, 300, row) + Click(50, 10, 10) + "55 key down A\n", "X | b",
       "Left Ctrl, Right Ctrl | y"},
      {"Defaults restores", Click(40, 300, row) + "50 key down Left Ctrl\n" + Click(60, 650, 425),
       "X | b", "Left Ctrl, Right Ctrl | y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto state = game.Run(open + c.then, 70);
    EXPECT_EQ(state["flags"]["optionsShown"], 1);
    EXPECT_EQ(state["bindings"]["attack2"], c.attack2);
    EXPECT_EQ(state["bindings"]["attack4"], c.attack4);
  }
  // The switches: vsync and fewer flashes, kept in the file.
  auto state = game.Run(open + Click(40, 100, 425) + Click(50, 300, 425), 60);
  EXPECT_EQ(state["playerSettings"]["vsync"], true);
  EXPECT_EQ(state["playerSettings"]["reducedFlashes"], true);
  const std::string file = ReadFile(SettingsFile(game));
  EXPECT_NE(file.find("vsync = on"), std::string::npos) << file;
  EXPECT_NE(file.find("flashes = reduced"), std::string::npos) << file;
  RunResult next =
      RunGame({"--headless", "--frames", "2", "--root", game.root, "--dump-state", "next.json"},
              game.dir.path());
  ASSERT_EQ(next.status, 0) << next.output;
  EXPECT_EQ(nlohmann::json::parse(ReadFile(game.dir / "next.json"))["playerSettings"]["vsync"],
            true)
      << "kept for the next start";
}

TEST(ControlsRun, TheTrainingPagesNameTheKeysTheBindingsGive) {
  UiGame game;
  game.root = MORVA_TEST_CONTENT;
  const std::string training = SkipIntro() + Click(10, 385, 256);
  auto capTexts = [](const nlohmann::json& state) {
    std::vector<std::string> texts;
    for (const auto& d : state["drawList"]) {
      if (d["op"] == "text") texts.push_back(d["text"]);
    }
    return texts;
  };
  EXPECT_TRUE(capTexts(game.Run(training, 40)).empty()) << "the picture's own caps say it all";
  auto state = game.Run("0 bind attack1 = A\n0 bind attack3 = | b\n" + training, 40);
  EXPECT_EQ(capTexts(state), (std::vector<std::string>{"A", "-"})) << "attack 3 has no key";
  state = game.Run("0 bind attack1 = A\n" + training + Click(30, 435, 565), 60);
  EXPECT_EQ(capTexts(state), (std::vector<std::string>{"A", "A"}))
      << "the combo's first and third blow";
}
