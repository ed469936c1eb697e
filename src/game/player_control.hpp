// The player's inputs: attack keys and combos, walking, jumping, crouching and the power-up.
#pragma once

#include <cstdint>

#include "game/level_frame.hpp"

// Attack keys, the combo buffer and its evaluation; raises attackKind for the frame.
void AttackInput(const LevelFrame& f);
// Sets comboLevel from the combo buffer.
void EvaluateCombo(ComboState& c);
// Zeroes the used combo entries and the combo level.
void ClearCombo(ComboState& c);
// Walking, jumping, crouching, the power-up and the idle flag.
void MoveInput(const LevelFrame& f);

// The power-up lasts while its white flash fades: each call takes a frame of `frameMs` off the
// flash's `opacity` and says whether the flash shows; the call that finds it faded ends the
// power-up (`active`) and makes the flash ready for the next.
bool FadePowerUpFlash(uint8_t& active, double& opacity, double frameMs);

// The rule that sets the player's idle flag at the end of MoveInput (otherwise it keeps its
// value): alive and not jumping, or not moving, or not stunned, or neither dying nor crouching.
bool IdleRuleHolds(const Unit& p);
