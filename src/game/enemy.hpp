// Enemy behaviour, one file per kind, chosen by the unit's kind.
#pragma once

void UpdateEnemy(int i);
