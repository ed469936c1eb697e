// The screen shake of a fallen golem: it moves the camera and the player, so it is the game's.
#pragma once

#include <cstdint>

// While `flag` is set, jolts the world against the player; clears `flag` after 0.5 s.
void ShakeScreen(uint8_t& flag);
