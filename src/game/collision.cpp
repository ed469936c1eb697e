// Collision with the map grid and enemy bodies.
#include "game/collision.hpp"

// Not built yet: units neither fall nor are stopped.
void CollideUnit(int /*i*/) {}
