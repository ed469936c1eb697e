// Blows between the player and the enemies: reach, damage, stun, decapitation.
#pragma once

// The player's body box and the enemy's, widened by 10 px sideways and 5 px up and down, overlap.
bool InMeleeReach(int i);
void PlayerHitsUnit(int i);
void UnitHitsPlayer(int i);
