// Level source: parsing, writing back, compiling to the map file, and the mistakes it names.
#include "editing/level_source.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

// One screen at 100 px per character: 8 x 6 characters.
const char* kSmall = R"(# a test level
screens 1 1
cell 100   # coarse
grid
........
..t.=...
......#.
...%..#.
==..w.#.
########
end
player awake 150 440
guard behind 500 400
sentinel 7 620 120   # a number for the rule
golem never 300 440
item power 210 480
item life 700 100
item 5 0 0
)";

LevelSource Parse(const std::string& text) {
  LevelSourceParse p = ParseLevelSource(text);
  EXPECT_TRUE(p.source.has_value()) << p.error;
  return p.source.value_or(LevelSource{});
}

std::string ErrorOf(const std::string& text) {
  LevelSourceParse p = ParseLevelSource(text);
  EXPECT_FALSE(p.source.has_value());
  return p.error;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

}  // namespace

TEST(LevelSource, ReadsSizeGridCharactersAndItemsInOrder) {
  LevelSource s = Parse(kSmall);
  EXPECT_EQ(s.width, 1);
  EXPECT_EQ(s.height, 1);
  EXPECT_EQ(s.cellPx, 100);
  ASSERT_EQ(s.grid.size(), 6u);
  EXPECT_EQ(s.Glyph(6, 2), '#');
  EXPECT_EQ(s.Glyph(2, 1), 't');
  EXPECT_EQ(s.Glyph(-1, 0), '.');
  EXPECT_EQ(s.Glyph(0, 6), '.');
  ASSERT_EQ(s.characters.size(), 4u);
  EXPECT_EQ(s.characters[0], (LevelCharacter{kPlayer, kWakeAwake, 150, 440}));
  EXPECT_EQ(s.characters[1], (LevelCharacter{kGuard, kWakeBehind, 500, 400}));
  EXPECT_EQ(s.characters[2], (LevelCharacter{kSentinel, 7, 620, 120}));
  EXPECT_EQ(s.characters[3], (LevelCharacter{kGolem, kWakeNever, 300, 440}));
  ASSERT_EQ(s.items.size(), 3u);
  EXPECT_EQ(s.items[0], (LevelItem{kItemPower, 210, 480}));
  EXPECT_EQ(s.items[1], (LevelItem{kItemLife, 700, 100}));
  EXPECT_EQ(s.items[2], (LevelItem{5, 0, 0}));
}

TEST(LevelSource, WrittenSourceParsesBackTheSame) {
  LevelSource s = Parse(kSmall);
  std::string text = FormatLevelSource(s);
  EXPECT_EQ(Parse(text), s);
  EXPECT_NE(text.find("sentinel 7 620 120"), std::string::npos);
  EXPECT_NE(text.find("item 5 0 0"), std::string::npos);
  // Windows line ends read the same.
  std::string crlf;
  for (char c : text) crlf += (c == '\n') ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(Parse(crlf), s);
}

TEST(LevelSource, CompilesEachCharacterIntoABlockOfCells) {
  LevelSource s = Parse(kSmall);
  LevelCompile c = CompileLevel(s);
  ASSERT_TRUE(c.map.has_value()) << c.error;
  const LevelMapFile& m = *c.map;
  EXPECT_EQ(m.Width, 1);
  EXPECT_EQ(m.Height, 1);
  // Grid character (6, 2) is masonry: cells 60..69 x 20..29 are solid, their neighbours not.
  EXPECT_EQ(m.Cell(60, 20), 1);
  EXPECT_EQ(m.Cell(69, 29), 1);
  EXPECT_EQ(m.Cell(59, 20), 0);
  EXPECT_EQ(m.Cell(70, 29), 0);
  EXPECT_EQ(m.Cell(60, 19), 0);
  EXPECT_EQ(m.Cell(35, 35), 1);  // rock at (3, 3)
  EXPECT_EQ(m.Cell(45, 15), 2);  // ledge at (4, 1)
  EXPECT_EQ(m.Cell(25, 15), 0);  // a torch is empty space
  EXPECT_EQ(m.Cell(45, 45), 0);  // and so is a window
  EXPECT_EQ(m.Cell(5, 45), 2);
  EXPECT_EQ(m.Cell(79, 59), 1);
  int solid = 0;
  for (uint8_t v : m.Cells) solid += (v == 1);
  EXPECT_EQ(solid, (8 + 3 + 1) * 100);

  EXPECT_EQ(m.CharType, (std::vector<uint8_t>{0, 2, 1, 3}));
  EXPECT_EQ(m.CharActivation, (std::vector<uint8_t>{0, 1, 7, 2}));
  EXPECT_EQ(m.CharPos, (std::vector<MapPoint>{{150, 440}, {500, 400}, {620, 120}, {300, 440}}));
  EXPECT_EQ(m.ItemType, (std::vector<uint8_t>{1, 0, 5}));
  EXPECT_EQ(m.ItemPos, (std::vector<MapPoint>{{210, 480}, {700, 100}, {0, 0}}));

  // What the compiler makes is what the game reads back from the file.
  std::vector<uint8_t> bytes = EncodeLevelMap(m);
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  LevelMapRead read = ReadLevelMap(in);
  ASSERT_TRUE(read.ok()) << read.detail;
  EXPECT_EQ(read.map, m);
}

// The scene draws at most 100 level pictures: 25 x 4 compiles, 17 x 6 (102) is refused at its line.
TEST(LevelSource, AtMostOneHundredScreens) {
  for (auto [w, h] : {std::pair{25, 4}, std::pair{17, 6}}) {
    std::ostringstream text;
    text << "# " << w << " x " << h << "\nscreens " << w << ' ' << h << "\ncell 200\ngrid\n";
    for (int row = 0; row < h * 3; ++row) text << std::string(w * 4, '#') << '\n';
    text << "end\nplayer awake 20 500\n";
    LevelSourceParse p = ParseLevelSource(text.str());
    if (w * h <= 100) {
      ASSERT_TRUE(p.source.has_value()) << p.error;
      EXPECT_TRUE(CompileLevel(*p.source).map.has_value());
    } else {
      EXPECT_EQ(p.error, "line 2: the level has 102 screens; at most 100 can be drawn");
    }
  }
}

TEST(LevelSource, FinerGridsFillFewerCells) {
  std::ostringstream text;
  text << "screens 2 1\ncell 10\ngrid\n";
  for (int row = 0; row < 60; ++row) {
    std::string line(160, '.');
    if (row == 59) line.assign(160, '#');
    if (row == 30) line[100] = '=';
    text << line << '\n';
  }
  text << "end\nplayer awake 20 500\n";
  LevelCompile c = CompileLevel(Parse(text.str()));
  ASSERT_TRUE(c.map.has_value()) << c.error;
  EXPECT_EQ(c.map->Cell(100, 30), 2);
  EXPECT_EQ(c.map->Cell(101, 30), 0);
  EXPECT_EQ(c.map->Cell(159, 59), 1);
  EXPECT_EQ(c.map->Cell(159, 58), 0);
}

TEST(LevelSource, MistakesAreNamedWithTheirLine) {
  EXPECT_EQ(ErrorOf(Replace(kSmall, "..t.=...", "..t.=..")).substr(0, 7), "line 6:");
  EXPECT_NE(ErrorOf(Replace(kSmall, "..t.=...", "..t.=..?")).find("unknown grid character"),
            std::string::npos);
  EXPECT_NE(ErrorOf(Replace(kSmall, "########\nend", "########\n........\nend")).find("end"),
            std::string::npos);
  EXPECT_NE(ErrorOf(Replace(kSmall, "########\nend", "#######.")).find("end"), std::string::npos);
  EXPECT_NE(ErrorOf(Replace(kSmall, "player awake", "guard awake")).find("first character"),
            std::string::npos);
  EXPECT_NE(ErrorOf(Replace(kSmall, "golem never", "player never")).find("second player"),
            std::string::npos);
  EXPECT_NE(ErrorOf(Replace(kSmall, "behind", "sometimes")).find("wake-up"), std::string::npos);
  EXPECT_NE(ErrorOf(Replace(kSmall, "item life", "item cake")).find("item kind"),
            std::string::npos);
  EXPECT_NE(ErrorOf(Replace(kSmall, "500 400", "800 400")).find("outside the map"),
            std::string::npos);
  EXPECT_NE(ErrorOf(Replace(kSmall, "500 400", "-5 400")).find("not below 0"), std::string::npos);
  EXPECT_NE(ErrorOf(Replace(kSmall, "700 100", "700 600")).find("outside the map"),
            std::string::npos);
  EXPECT_NE(ErrorOf(Replace(kSmall, "cell 100", "cell 30")).find("divides"), std::string::npos);
  EXPECT_NE(ErrorOf(Replace(kSmall, "screens 1 1", "screens 26 1")).find("25"), std::string::npos);
  EXPECT_NE(ErrorOf(Replace(kSmall, "golem never 300 440", "dragon awake 1 1")).find("dragon"),
            std::string::npos);
  EXPECT_NE(ErrorOf("screens 1 1\n").find("no grid"), std::string::npos);

  std::string many = kSmall;
  for (int i = 0; i < 98; ++i) many += "item life 10 10\n";
  EXPECT_NE(ErrorOf(many).find("100 items"), std::string::npos);
}

// Every mistake is named, a line each in the order of the file, ten at most; a size that cannot
// be read is named once, not again at the grid and every character after it.
TEST(LevelSource, EveryMistakeIsNamedOnce) {
  std::string four = Replace(kSmall, "..t.=...", "..t.=..?");
  four = Replace(four, "behind", "sometimes");
  four = Replace(four, "700 100", "700 600");
  four += "dragon awake 1 1\n";
  LevelSourceParse p = ParseLevelSource(four);
  EXPECT_EQ(p.mistakes, (std::vector<std::string>{"line 6: unknown grid character '?' in column 7",
                                                  "line 13: unknown wake-up rule 'sometimes'",
                                                  "line 19: unknown line 'dragon'",
                                                  "line 17: item 1 lies outside the map"}));
  EXPECT_EQ(std::count(p.error.begin(), p.error.end(), '\n'), 3) << p.error;

  std::string fifteen = kSmall;
  for (int i = 0; i < 15; ++i) fifteen += "dragon awake 1 1\n";
  p = ParseLevelSource(fifteen);
  EXPECT_EQ(p.mistakes.size(), 15u);
  EXPECT_EQ(p.error.substr(p.error.rfind('\n') + 1), "and 5 more");

  for (const char* size : {"screens 26 1", "screens 1", "screens x y"}) {
    SCOPED_TRACE(size);
    EXPECT_EQ(ParseLevelSource(Replace(kSmall, "screens 1 1", size)).mistakes.size(), 1u);
  }
  EXPECT_EQ(ParseLevelSource(Replace(kSmall, "player awake", "guard awake")).mistakes,
            std::vector<std::string>{"line 12: the first character is the player"});
}
