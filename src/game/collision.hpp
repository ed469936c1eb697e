// Map collision: clamp, gravity, ground, walls and the player's push by enemy bodies.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/measures.hpp"
#include "content/level_map.hpp"
#include "game/level_frame.hpp"

// The grid cell under a world point: 0 empty, 1 solid, anything else a ledge. A cell's index is
// its coordinate truncated toward zero, so the 10 px before the first cell still read it; a point
// outside the grid reads as empty. Collision asks this several times per unit every frame.
inline uint8_t CellAt(const LevelMap& map, double x, double y) {
  constexpr double kCellsPerPx = 1.0 / kCellPx;
  const double cx = x * kCellsPerPx;
  const double cy = y * kCellsPerPx;
  if (!(cx > -1 && cx < kGridColumns && cy > -1 && cy < kGridRows)) return 0;
  return map.Cells[static_cast<std::size_t>(static_cast<int>(cx))]
                  [static_cast<std::size_t>(static_cast<int>(cy))];
}

// Keeps unit i inside the map, lets it fall and stand, pushes it out of floors and walls, and
// keeps the player out of living guards and golems. Moves of the player move the camera too.
void CollideUnit(const LevelFrame& f, int i);
