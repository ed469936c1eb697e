// Map collision: clamp, gravity, ground, walls and the player's push by enemy bodies.
#pragma once

#include <cstdint>

#include "content/level_map.hpp"
#include "game/level_frame.hpp"

// The grid cell under a world point: 0 empty, 1 solid, anything else a ledge. A point outside
// the grid reads as empty.
uint8_t CellAt(const LevelMap& map, double x, double y);

// Keeps unit i inside the map, lets it fall and stand, pushes it out of floors and walls, and
// keeps the player out of living guards and golems. Moves of the player move the camera too.
void CollideUnit(const LevelFrame& f, int i);
