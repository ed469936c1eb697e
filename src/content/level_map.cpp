// Reading the level map into the game state.
#include "content/level_map.hpp"

#include <sys/mman.h>

#include <algorithm>
#include <cstdio>
#include <new>
#include <optional>

#include "app/game_state.hpp"
#include "base/backends.hpp"
#include "base/content_paths.hpp"
#include "base/messages.hpp"
#include "gfx/frame_sequence.hpp"

namespace {

constexpr char kCaption[] = "MORVA";
constexpr std::size_t kGridBytes = sizeof(LevelGrid::Column) * kGridColumns;

LevelGrid::Column* MapZeroedGrid() {
  void* pages =
      mmap(nullptr, kGridBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pages == MAP_FAILED) throw std::bad_alloc();
  return static_cast<LevelGrid::Column*>(pages);
}

void StopLoad(const std::string& text) {
  ShowMessage(kCaption, text);
  windowCloseRequested = true;
  closeStatus = 3;
}

// An early end at a count is a short file; inside the grid or a run it is worth a line, since
// the level then has holes or characters at the origin.
bool EndsInsideARun(const std::string& detail) {
  return detail.find("before CharCount") == std::string::npos &&
         detail.find("before ItemCount") == std::string::npos;
}

}  // namespace

LevelGrid::LevelGrid() : columns_(MapZeroedGrid()) {}

LevelGrid::LevelGrid(const LevelGrid& other) : columns_(MapZeroedGrid()) {
  std::copy(other.columns_, other.columns_ + kGridColumns, columns_);
}

LevelGrid& LevelGrid::operator=(const LevelGrid& other) {
  if (this != &other) std::copy(other.columns_, other.columns_ + kGridColumns, columns_);
  return *this;
}

LevelGrid::~LevelGrid() {
  munmap(columns_, kGridBytes);
}

std::string MissingMapMessage(const std::string& path) {
  return "Nevar iel\xE2"
         "d\xE7t MRV" +
         path;
}

void StoreLevelMap(const LevelMapFile& parsed, LevelMap& map) {
  map.Width = parsed.Width;
  map.Height = parsed.Height;
  levelMapSize = LevelMapSize{parsed.Width, parsed.Height};
  const int columns = std::min(parsed.Columns(), kGridColumns);
  const int rows = std::min(parsed.Rows(), kGridRows);
  // Both grids keep a column's cells together, so each column is one copy.
  const bool whole =
      parsed.Cells.size() == static_cast<std::size_t>(parsed.Columns()) * parsed.Rows();
  for (int cx = 0; cx < columns; ++cx) {
    uint8_t* column = map.Cells[cx].data();
    if (whole) {
      std::copy_n(parsed.Cells.begin() + static_cast<std::ptrdiff_t>(cx) * parsed.Rows(), rows,
                  column);
    } else {
      std::fill_n(column, rows, uint8_t{0});
    }
  }
  if (parsed.Cells.empty()) return;  // stopped at the size: nothing after it was read
  map.CharCount = static_cast<uint16_t>(parsed.CharCount());
  for (std::size_t k = 0; k < parsed.CharCount() && k < kMapSlots; ++k) {
    map.CharType[k] = parsed.CharType[k];
    map.CharActivation[k] = parsed.CharActivation[k];
    map.CharPos[k] = parsed.CharPos[k];
  }
  map.ItemCount = static_cast<uint16_t>(parsed.ItemCount());
  for (std::size_t k = 0; k < parsed.ItemCount() && k < kMapSlots; ++k) {
    map.ItemType[k] = parsed.ItemType[k];
    map.ItemPos[k] = parsed.ItemPos[k];
  }
}

void LoadLevelMap(const std::string& path) {
  std::optional<std::string> file = backends.content->Resolve(path);
  if (!file) {
    StopLoad(MissingMapMessage(path) +
             (backends.content->LeadsOutside(path) ? " (leads outside the content folder)" : ""));
    return;
  }
  LevelMapRead read = ReadLevelMapFile(*file);
  switch (read.error) {
    case LevelMapError::Unreadable:
      StopLoad(MissingMapMessage(path) + " (" + read.detail + ")");
      return;
    case LevelMapError::OutOfRange:
    case LevelMapError::TooManyValues:
      FatalRangeError(path + ": " + read.detail);
    case LevelMapError::PartialValue:
      ShowMessageUtf8("MORVA", "Read error in " + path + ": " + read.detail);
      throw ProgramExit{3};
    case LevelMapError::None:
    case LevelMapError::Truncated:
    case LevelMapError::ZeroSize:
    case LevelMapError::NegativeCharPos:
      break;
  }
  StoreLevelMap(read.map, gameState.map);
  if (read.error == LevelMapError::ZeroSize) {
    StopLoad(kMapZeroSizeMessage);
  } else if (read.error == LevelMapError::NegativeCharPos) {
    StopLoad(kMapNegativePosMessage);
  } else if (read.error == LevelMapError::Truncated) {
    if (gameState.map.Width == 0 || gameState.map.Height == 0) {
      StopLoad(kMapZeroSizeMessage);
    } else if (EndsInsideARun(read.detail)) {
      std::fprintf(stderr, "morva: %s: %s; the rest reads as 0\n", path.c_str(),
                   read.detail.c_str());
    }
  }
}
