// Blows between the player and the enemies: reach, damage, stun, decapitation.
#pragma once

#include <cstdint>

// The player's body box and the enemy's, widened by 10 px sideways and 5 px up and down, overlap.
bool InMeleeReach(int i);
void PlayerHitsUnit(int i);
void UnitHitsPlayer(int i);

struct Unit;
// The unit shows that picture of its animation now.
bool Showing(const Unit& u, uint16_t picture);
// A blow that landed starts the strike's animation over and ends the attack.
void EndBlow(Unit& u);
