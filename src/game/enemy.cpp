// Enemy behaviour.
#include "game/enemy.hpp"

// Not built yet: enemies stand where they are.
void UpdateEnemy(int /*i*/) {}
