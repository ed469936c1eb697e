// The effects that belong to one processed unit: lightning, blood, explosion, shake, combo text
// and the power-up flash.
#pragma once

void DrawUnitEffects(int i);
