// Kills and their points, and the player's death: slow motion, red fade, restart.
#pragma once

#include <cstdint>

#include "game/level_frame.hpp"

void ScoreKill(const LevelFrame& f, uint8_t i);
// A full combo of seven blows, counted once while a golem is processed (its sounds comment it).
void CountFullCombo(GamePlay& play, Unit& u);
// While the player lies dead: time slowed, the enemies' attacks stopped and the red fade
// deepening, until the restart is asked for. Whether the player lies dead (the fade shows).
bool PlayerDeathStep(const LevelFrame& f);
