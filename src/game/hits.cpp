// Hits and damage.
#include "game/hits.hpp"

// Not built yet: no blow lands.
bool InMeleeReach(int /*i*/) {
  return false;
}
void PlayerHitsUnit(int /*i*/) {}
void UnitHitsPlayer(int /*i*/) {}
