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
}
