// Enemy behaviour, one file per kind, chosen by the unit's kind.
#pragma once

#include "game/level_frame.hpp"

void UpdateEnemy(const LevelFrame& f, int i);
