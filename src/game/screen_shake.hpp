// The screen shake of a fallen golem: it moves the camera and the player, so it is the game's.
#pragma once

#include <cstdint>

#include "game/play_state.hpp"

// While `flag` is set, jolts the world against the player, counting a frame of `frameMs`; clears
// `flag` after 0.5 s.
void ShakeScreen(GamePlay& play, uint8_t& flag, double frameMs);
