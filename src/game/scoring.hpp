// Kills and their points, and the player's death: slow motion, red fade, restart.
#pragma once

#include <cstdint>

void ScoreKill(uint8_t i);
struct Unit;
// A full combo of seven blows, counted once while a golem is processed (its sounds comment it).
void CountFullCombo(Unit& u);
void DeathOverlay();
