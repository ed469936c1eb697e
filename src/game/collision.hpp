// Map collision: clamp, gravity, ground, walls and the player's push by enemy bodies.
#pragma once

void CollideUnit(int i);
