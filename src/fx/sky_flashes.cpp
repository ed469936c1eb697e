// Sky flashes and thunder.
#include "fx/sky_flashes.hpp"

// Not built yet: draws nothing.
void DrawSkyFlashes() {}
