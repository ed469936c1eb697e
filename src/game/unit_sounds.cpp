// Unit sounds.
#include "game/unit_sounds.hpp"

// Not built yet: units are silent.
void UpdatePlayerSounds() {}
void UpdateUnitSounds(int /*i*/) {}
