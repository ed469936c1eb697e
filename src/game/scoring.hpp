// Kills and their points, and the player's death: slow motion, red fade, restart.
#pragma once

#include <cstdint>

void ScoreKill(uint8_t i);
// A full combo of seven blows, counted once while golem `i` is processed (its sounds comment it).
void CountFullCombo(int i);
void DeathOverlay();
