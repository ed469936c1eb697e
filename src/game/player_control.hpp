// The player's inputs: attack keys and combos, walking, jumping, crouching and the power-up.
#pragma once

// Attack keys, the combo buffer and its evaluation; raises attackKind for the frame.
void AttackInput();
// Sets comboLevel from the combo buffer.
void EvaluateCombo();
// Zeroes the used combo entries and the combo level.
void ClearCombo();
// Walking, jumping, crouching, the power-up and the idle flag.
void MoveInput();

struct Unit;
// The rule that sets the player's idle flag at the end of MoveInput (otherwise it keeps its
// value): alive and not jumping, or not moving, or not stunned, or neither dying nor crouching.
bool IdleRuleHolds(const Unit& p);
