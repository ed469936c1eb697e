// The level map file (.mrv): a headerless run of little-endian 32-bit floats, read as it streams.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "base/measures.hpp"

// A screen of the level has the picture's size, the grid kCellPx cells (base/measures.hpp).
constexpr int kCellsPerScreenX = kScreenWidthPx / kCellPx;   // 80
constexpr int kCellsPerScreenY = kScreenHeightPx / kCellPx;  // 60
// The game's grid is 2001 x 1001 cells, which is what limits a level to 25 x 16 screens.
constexpr int kMaxMapWidth = 25;
constexpr int kMaxMapHeight = 16;
// The scene has one level picture per screen and room for 100 of them, so a level of more
// screens cannot be drawn (25 x 4 fits; 17 x 6 does not).
constexpr int kMaxLevelScreens = 100;
// The unit table and the item table have 256 slots; larger counts are refused.
constexpr int kMaxMapCharacters = 256;
constexpr int kMaxMapItems = 256;
// The original loader's value buffer: a file with more values than this cannot be loaded.
constexpr int64_t kMaxMapValues = 30'000'001;

struct MapPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const MapPoint&) const = default;
};

// The parsed map. Cells are stored as in the file, column by column: cell (cx, cy) is
// Cells[cx * Rows() + cy]. The character and item runs keep their file order.
struct LevelMapFile {
  int32_t Width = 0;   // screens
  int32_t Height = 0;  // screens
  std::vector<uint8_t> Cells;
  std::vector<uint8_t> CharType;
  std::vector<uint8_t> CharActivation;
  std::vector<MapPoint> CharPos;
  std::vector<uint8_t> ItemType;
  std::vector<MapPoint> ItemPos;

  int Columns() const { return Width * kCellsPerScreenX; }
  int Rows() const { return Height * kCellsPerScreenY; }
  std::size_t CharCount() const { return CharType.size(); }
  std::size_t ItemCount() const { return ItemType.size(); }

  // A probe outside the grid reads as empty.
  uint8_t Cell(int cx, int cy) const;
  // A fresh grid of the given size, all empty.
  void Resize(int32_t width, int32_t height);
  void SetCell(int cx, int cy, uint8_t value);

  bool operator==(const LevelMapFile&) const = default;
};

enum class LevelMapError {
  None,
  Unreadable,       // the file does not exist or cannot be opened
  ZeroSize,         // Width or Height truncates to 0
  NegativeCharPos,  // a character start position below 0
  OutOfRange,       // any other value outside its range (size, cell, kind, count, position)
  Truncated,        // the file ends before the last item
  PartialValue,     // the file length is not a whole number of 4-byte values
  TooManyValues,    // more values than the game's buffer holds
};

struct LevelMapRead {
  // On an error, holds what had been parsed before it: fields not reached stay empty, and after
  // a negative position the positions stored so far stay.
  LevelMapFile map;
  LevelMapError error = LevelMapError::None;
  // Which value, and where, for the message; why the file could not be read when unreadable.
  std::string detail;
  bool ok() const { return error == LevelMapError::None; }
};

// The game's own messages (Windows-1257 bytes) for the two failures it reports in words.
inline constexpr char kMapZeroSizeMessage[] =
    "map.Width or map.Height = 0 - MRV iel\xE2"
    "de aptur\xE7ta!";
inline constexpr char kMapNegativePosMessage[] =
    "map.CharPos[] < 0 - MRV iel\xE2"
    "de aptur\xE7ta!";

// Parses values as they arrive; no buffer for the whole file is kept. Values after the last item
// are ignored, but still counted for the TooManyValues and PartialValue tests.
LevelMapRead ReadLevelMap(std::istream& in);
LevelMapRead ReadLevelMapFile(const std::filesystem::path& path);

// Says what in a map the writer cannot store faithfully (sizes, run lengths, counts, positions
// that a float does not hold exactly); empty when it can be written.
std::string ValidateLevelMap(const LevelMapFile& map);

// What the game cannot play in a map that reads well: more than 100 screens or items, a first
// character that is not the player, a character or item of a kind beyond the game's tables.
struct LevelMapProblem {
  enum class About { Level, Character, Item };
  About about = About::Level;
  std::size_t index = 0;  // in the character or item run
  std::string message;
};
std::vector<LevelMapProblem> FindUnplayable(const LevelMapFile& map);

// The file bytes: every field as one float, in file order.
std::vector<uint8_t> EncodeLevelMap(const LevelMapFile& map);
