// settings.cfg: what each line sets, damaged lines named while the rest applies, and writing
// back that keeps the player's own lines.
#include "formats/settings_text.hpp"

#include <gtest/gtest.h>

TEST(SettingsText, EachLineSetsItsSettingAndADamagedOneIsNamedWhileTheRestApply) {
  struct Row {
    const char* text;
    PlayerSettings expected;
    std::vector<std::string> problems;
  } rows[] = {
      {"", {}, {}},
      {"# only a comment\n\n", {}, {}},
      {"window = 1024x768\nvsync = on\nflashes = reduced\n", {{false, 1024, 768}, true, true}, {}},
      {"  WINDOW=FullScreen  # as it was\r\n", {}, {}},
      {"window = 320x240\n", {{false, 320, 240}}, {}},
      {"window = 319x240\nvsync = on\n",
       {{}, true},
       {"line 1: window takes fullscreen or a size from 320x240 such as 1024x768"}},
      {"window = big\nwindow = 16385x800\n", {}, {"line 1: window takes", "line 2: window takes"}},
      {"vsync = yes\n", {}, {"line 1: vsync takes on or off"}},
      {"flashes = none\n", {}, {"line 1: flashes takes full or reduced"}},
      {"dance = Up\nvsync = on\n", {{}, true}, {"line 1: unknown setting \"dance\""}},
      {"vsync\n", {}, {"line 1: \"vsync\" has no \"=\" and a value"}},
      {"vsync = on\nvsync = off\n", {{}, true}, {"line 2: vsync is given a second time"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    SettingsParse p = ParseSettingsText(r.text);
    EXPECT_EQ(p.settings, r.expected);
    ASSERT_EQ(p.problems.size(), r.problems.size());
    for (std::size_t i = 0; i < p.problems.size(); ++i) {
      EXPECT_EQ(p.problems[i].rfind(r.problems[i], 0), 0u) << p.problems[i];
    }
  }
}

TEST(SettingsText, WritingBackKeepsThePlayersLinesAndAddsWhatIsMissing) {
  PlayerSettings s;
  s.window = {false, 1280, 720};
  s.reducedFlashes = true;
  const std::string old = "# mine\nwindow = big   # the size I like\njump = Up\nvsync = on\n";
  const std::string text = FormatSettingsText(old, s);
  EXPECT_EQ(text,
            "# mine\nwindow = 1280x720  # the size I like\njump = Up\nvsync = off\n"
            "flashes = reduced\n");
  EXPECT_EQ(ParseSettingsText(text).settings, s);
  // A new file says what each setting takes, and reads back the same.
  const std::string fresh = FormatSettingsText("", s);
  EXPECT_EQ(fresh.front(), '#');
  SettingsParse again = ParseSettingsText(fresh);
  EXPECT_EQ(again.settings, s);
  EXPECT_TRUE(again.problems.empty());

  // The Controls page's bindings: an action's line (its first, even a damaged one) takes its
  // value and keeps its comment; an action bound otherwise than by default and not in the file
  // is added; one bound by default is not; an unbound action is written with nothing after "=".
  ActionValues actions;
  actions.isDefault.fill(true);
  actions.text[2] = "Up";  // jump, as the file has it, but no longer the default
  actions.isDefault[2] = false;
  actions.text[4] = "A | a";
  actions.isDefault[4] = false;
  actions.text[5] = "";
  actions.isDefault[5] = false;
  actions.text[6] = "C | x";
  const std::string bound = FormatSettingsText("jump = Upp  # mine\nattack3 = C | x\nattack3 = D\n",
                                               PlayerSettings{}, &actions);
  EXPECT_EQ(bound,
            "jump = Up  # mine\nattack3 = C | x\nattack3 = D\nwindow = fullscreen\nvsync = off\n"
            "flashes = full\nattack1 = A | a\nattack2 =\n");
  SettingsParse read = ParseSettingsText(bound);
  ASSERT_EQ(read.actions.size(), 4u);
  EXPECT_TRUE(read.actions[3].keys.empty() && read.actions[3].buttons.empty()) << "unbound";
  EXPECT_EQ(read.problems.size(), 1u) << "the second attack3 line stays as the player wrote it";
}
