// Player control.
#include "game/player_control.hpp"

// Not built yet: the player does not react to the keys.
void AttackInput() {}
void EvaluateCombo() {}
void ClearCombo() {}
void MoveInput() {}
