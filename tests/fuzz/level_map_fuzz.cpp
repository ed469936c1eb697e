// Fuzz target: the level map as it streams in, and its copy into the game's fixed grid.
#include <sstream>

#include "content/level_map.hpp"
#include "formats/level_map_file.hpp"
#include "fuzz_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(FuzzText(data, size));
  LevelMapRead read = ReadLevelMap(in);
  const LevelMapFile& map = read.map;
  if (read.ok()) {
    FuzzCheck(map.Width >= 1 && map.Width <= kMaxMapWidth, "width in range");
    FuzzCheck(map.Height >= 1 && map.Height <= kMaxMapHeight, "height in range");
    FuzzCheck(map.Cells.size() == static_cast<size_t>(map.Columns()) * map.Rows(), "whole grid");
  }
  // Whatever was parsed, even on an error, is what the loader stores and probes.
  FuzzCheck(
      map.Cells.empty() || map.Cells.size() == static_cast<size_t>(map.Columns()) * map.Rows(),
      "grid matches its size");
  FuzzCheck(map.CharPos.size() <= map.CharType.size() && map.CharCount() <= kMaxMapCharacters,
            "character runs bounded");
  FuzzCheck(map.ItemCount() <= kMaxMapItems, "item run bounded");
  (void)map.Cell(map.Columns() - 1, map.Rows() - 1);
  (void)map.Cell(-1, 0);
  static LevelMap stored;
  StoreLevelMap(map, stored);
  if (read.ok()) {
    std::vector<uint8_t> bytes = EncodeLevelMap(map);
    std::istringstream again(FuzzText(bytes.data(), bytes.size()));
    LevelMapRead reread = ReadLevelMap(again);
    FuzzCheck(reread.ok() && reread.map == map, "a map read back is the same map");
  }
  return 0;
}
