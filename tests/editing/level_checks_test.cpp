// The level checks on small levels drawn for each case (100 px per grid character).
#include "editing/level_checks.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.hpp"

// Shown as the panel would show it when a case fails.
void PrintTo(const LevelProblem& p, std::ostream* os) {
  *os << "line " << p.line << " (" << p.x << ", " << p.y << "): " << p.message;
}

namespace {

// The demo content's bodies.
constexpr KindBodies kBodies = {
    {{-14, -46, 14, 56}, {-22, -22, 22, 24}, {-15, -48, 15, 56}, {-34, -84, 34, 108}}};

// A level `width` x 2 screens with a floor on its last row (its top at y 1100, where the player
// stands at y 1044), `changes` drawn over it, and `cast` after the grid.
std::string Level(int width, const std::vector<std::string>& changes, const std::string& cast) {
  std::string text = "screens " + std::to_string(width) + " 2\ncell 100\ngrid\n";
  for (int row = 0; row < 12; ++row) {
    std::string line(static_cast<std::size_t>(8 * width), row == 11 ? '#' : '.');
    if (row < static_cast<int>(changes.size())) {
      for (std::size_t c = 0; c < changes[row].size() && c < line.size(); ++c) {
        if (changes[row][c] != ' ') line[c] = changes[row][c];
      }
    }
    text += line + "\n";
  }
  return text + "end\n" + cast;
}

}  // namespace

TEST(LevelChecks, NameEachMisplacedThingByItsLineAndPlace) {
  const std::vector<std::string> none;
  const std::string wall5 = "        #";  // column 8
  const std::vector<std::string> wallOf5 = {"",    "",    "",    "",    "",   "",
                                            wall5, wall5, wall5, wall5, wall5};
  const std::vector<std::string> wallOf4 = {"", "", "", "", "", "", "", wall5, wall5, wall5, wall5};
  std::vector<std::string> gap = {
      "", "", "", "", "", "", "", "", "", "", "", "          ....      "};  // columns 10..13 open
  std::vector<std::string> noFloorUnderThePlayer(12);
  noFloorUnderThePlayer[11] = "..";
  const struct Row {
    const char* what;
    std::string level;
    std::vector<LevelProblem> problems;
  } rows[] = {
      {"all in order",
       Level(2, none,
             "player awake 120 1044\nguard awake 600 1044\ngolem awake 900 992\n"
             "sentinel awake 700 300\nitem life 300 1048\nitem power 500 600\n"),
       {}},
      {"a guard sunk 1 px into the floor",
       Level(2, none, "player awake 120 1044\nguard awake 600 1045\n"),
       {{17, 600, 1045, "a guard inside rock at 600, 1045"}}},
      {"a golem in a wall, a sentinel in the ceiling of rock",
       Level(2, {"%%%%%%%%%%%%%%%%", "", "", "", "", "", "", "", "", "        #"},
             "player awake 120 1044\ngolem awake 830 992\nsentinel awake 400 110\n"),
       {{17, 830, 992, "a golem inside rock at 830, 992"},
        {18, 400, 110, "a sentinel inside rock at 400, 110"}}},
      {"an item higher than a jump reaches, and one just low enough",
       Level(2, none, "player awake 120 1044\nitem life 300 531\nitem life 300 533\n"),
       {{17, 300, 531, "an item out of reach at 300, 531: no jump gets there"}}},
      {"a wall of 500 px",
       Level(2, wallOf5, "player awake 120 1044\n"),
       {{-1, 800, 1044, "no way past at 800, 1044: a wall higher than a jump or a gap"}}},
      {"a wall of 400 px is jumped", Level(2, wallOf4, "player awake 120 1044\n"), {}},
      {"a gap in the floor to the bottom",
       Level(3, gap, "player awake 120 1044\n"),
       {{-1, 1000, 1044, "no way past at 1000, 1044: a wall higher than a jump or a gap"}}},
      {"a character and an item of kinds the game has no table for",
       Level(2, none, "player awake 120 1044\n12 awake 600 1044\nitem 9 300 1048\n"),
       {{17, 600, 1044, "character 1 has kind 12, above 9"},
        {18, 300, 1048, "an item of kind 9, above 7"}}},
      {"nothing under the player",
       Level(2, noFloorUnderThePlayer, "player awake 120 1044\n"),
       {{-1, 120, 1044, "no ground under the player at 120, 1044"}}},
  };
  for (const Row& r : rows) {
    LevelSourceParse parsed = ParseLevelSource(r.level);
    ASSERT_TRUE(parsed.source) << r.what << ": " << parsed.error;
    EXPECT_EQ(CheckLevel(*parsed.source, parsed.lines, kBodies), r.problems) << r.what;
  }
}

TEST(LevelChecks, TheShippedLevelsHaveNone) {
  for (const auto& entry : std::filesystem::directory_iterator(MORVA_LEVELS_DIR)) {
    if (entry.path().extension() != ".lvl") continue;
    LevelSourceParse parsed = ParseLevelSource(ReadFile(entry.path()));
    ASSERT_TRUE(parsed.source) << entry.path() << ": " << parsed.error;
    EXPECT_EQ(CheckLevel(*parsed.source, parsed.lines, kBodies), std::vector<LevelProblem>{})
        << entry.path();
  }
}
