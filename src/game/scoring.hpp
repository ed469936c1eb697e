// Kills and their points, and the player's death: slow motion, red fade, restart.
#pragma once

#include <cstdint>

void ScoreKill(uint8_t i);
void DeathOverlay();
