// Per-unit effects.
#include "fx/unit_effects.hpp"

// Not built yet: draws nothing.
void DrawUnitEffects(int /*i*/) {}
