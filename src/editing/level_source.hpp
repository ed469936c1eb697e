// The level source: a text file with an ASCII collision grid and lists of characters and items,
// compiled into the level map.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/unit_kinds.hpp"
#include "formats/level_map_file.hpp"

// Grid characters. Everything that is not solid or a ledge is empty space for collision; the
// decorations only tell the level painter what to draw there.
namespace level_glyphs {
constexpr char kEmpty = '.';
constexpr char kMasonry = '#';  // solid (1), castle stone
constexpr char kRock = '%';     // solid (1), raw rock
constexpr char kLedge = '=';    // ledge (2): stops a fall, can be walked through
constexpr char kTorch = 't';
constexpr char kChain = 'c';
constexpr char kBanner = 'b';
constexpr char kWindow = 'w';
}  // namespace level_glyphs

// Wake-up rules as the level stores them.
constexpr uint8_t kWakeAwake = 0;   // active from the start
constexpr uint8_t kWakeBehind = 1;  // wakes once the player is 370 px past it to the right
constexpr uint8_t kWakeNever = 2;

constexpr uint8_t kItemLife = 0;
constexpr uint8_t kItemPower = 1;
// The game keeps at most 100 items.
constexpr int kMaxLevelItems = 100;

struct LevelCharacter {
  uint8_t kind = 0;
  uint8_t wake = 0;
  int32_t x = 0;  // world px
  int32_t y = 0;
  bool operator==(const LevelCharacter&) const = default;
};

struct LevelItem {
  uint8_t kind = 0;
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const LevelItem&) const = default;
};

struct LevelSource {
  int32_t width = 0;    // screens
  int32_t height = 0;   // screens
  int32_t cellPx = 20;  // px per grid character: a multiple of 10 that divides 800 and 600
  std::vector<std::string> grid;  // rows from the top, one character per cellPx x cellPx square
  std::vector<LevelCharacter> characters;  // in file order; the player first
  std::vector<LevelItem> items;

  int GridColumns() const { return cellPx > 0 ? width * kScreenWidthPx / cellPx : 0; }
  int GridRows() const { return cellPx > 0 ? height * kScreenHeightPx / cellPx : 0; }
  // The grid character at (column, row), or empty space outside the grid.
  char Glyph(int column, int row) const;
  bool operator==(const LevelSource&) const = default;
};

// Where each part of a level source stands in its text: line indices from 0 (-1: absent).
struct LevelSourceLines {
  int screens = -1;
  int cell = -1;
  int grid = -1;  // the "grid" line; its rows follow it, then the "end" line
  int end = -1;
  std::vector<int> characters;  // in the order of LevelSource::characters
  std::vector<int> items;
};

struct LevelSourceParse {
  std::optional<LevelSource> source;
  LevelSourceLines lines;  // with the source
  // When source is empty: each mistake ("line N: what is wrong") in the order of the text, and
  // all of them as one text, a line each (at most kMistakesNamed of them, then "and N more").
  std::vector<std::string> mistakes;
  std::string error;
};

LevelSourceParse ParseLevelSource(const std::string& text);

// A list of mistakes as one text: the first kMistakesNamed, a line each, with `prefix` before
// each line, then "and N more" for the rest.
constexpr std::size_t kMistakesNamed = 10;
std::string JoinMistakes(const std::vector<std::string>& mistakes, const std::string& prefix = "");

// The text that parses back to the same source (names for known kinds and rules).
std::string FormatLevelSource(const LevelSource& source);
// A wake-up rule as the source names it ("behind"), or its number where it has no name.
std::string WakeRuleName(uint8_t wake);
// One character's or item's line, as FormatLevelSource writes it (without the line break).
std::string FormatCharacterLine(const LevelCharacter& character);
std::string FormatItemLine(const LevelItem& item);

// Collision value of a grid character: 1 solid, 2 ledge, 0 everything else.
uint8_t CollisionValue(char glyph);

struct LevelCompile {
  std::optional<LevelMapFile> map;
  std::string error;
};

// Each grid character fills cellPx / 10 x cellPx / 10 collision cells; characters and items keep
// their order.
LevelCompile CompileLevel(const LevelSource& source);
