// Blows between the player and the enemies: reach, damage, stun, decapitation.
#pragma once

#include <cstdint>

#include "game/level_frame.hpp"

// The player's body box and the enemy's, widened by 10 px sideways and 5 px up and down, overlap.
bool InMeleeReach(const Unit& player, const Unit& u);
void PlayerHitsUnit(const LevelFrame& f, int i);
void UnitHitsPlayer(const LevelFrame& f, int i);

// The unit shows that picture of its animation now.
bool Showing(const Unit& u, uint16_t picture);
// A blow that landed starts the strike's animation over and ends the attack.
void EndBlow(Unit& u);
