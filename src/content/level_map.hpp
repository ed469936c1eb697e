// The level map record of the game state and LoadLevelMap, which fills it from the .mrv file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/level_map_file.hpp"

// The grid's fixed bounds, which are what limit a level to 25 x 16 screens.
constexpr int kGridColumns = 2001;
constexpr int kGridRows = 1001;
// Characters and items a map record holds.
constexpr int kMapSlots = 256;

// The cells of the grid, indexed [cx][cy], every one 0 to begin with. They lie in pages the
// system hands out zeroed and maps in when first written, so what a level leaves empty costs no
// memory: the 2 MB grid of a 7 x 2 screen level keeps a quarter of itself resident.
class LevelGrid {
 public:
  using Column = std::array<uint8_t, kGridRows>;

  LevelGrid();
  LevelGrid(const LevelGrid& other);
  LevelGrid& operator=(const LevelGrid& other);
  ~LevelGrid();

  Column& operator[](std::size_t cx) { return columns_[cx]; }
  const Column& operator[](std::size_t cx) const { return columns_[cx]; }
  Column* begin() { return columns_; }
  Column* end() { return columns_ + kGridColumns; }

 private:
  Column* columns_;
};

struct LevelMap {
  int32_t Width = 0;   // screens of 800 px
  int32_t Height = 0;  // screens of 600 px
  // Indexed [cx][cy]; cells outside the level stay 0.
  LevelGrid Cells;
  uint16_t CharCount = 0;
  std::array<MapPoint, kMapSlots> CharPos{};
  std::array<uint8_t, kMapSlots> CharType{};
  std::array<uint8_t, kMapSlots> CharActivation{};
  uint16_t ItemCount = 0;
  std::array<MapPoint, kMapSlots> ItemPos{};
  std::array<uint8_t, kMapSlots> ItemType{};
};

// The game's missing-file message: "Nevar ielâdçt MRV" followed directly by the path.
std::string MissingMapMessage(const std::string& path);

// Copies what a read parsed into the record, field by field; fields the read never reached keep
// their values, and values the file did not hold read as 0.
void StoreLevelMap(const LevelMapFile& parsed, LevelMap& map);

// Parses the map file into gameState.map. A missing file, a zero size or a negative start
// position is said in a "MORVA" box and asks the program to close; a value outside its range is
// a fatal range error and a partial last value a read error (the program ends, status 3). A file
// that ends early loads, with one line on stderr when it ends inside the grid or a run.
void LoadLevelMap(const std::string& path);
