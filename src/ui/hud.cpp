// The HUD over the running level.
#include "ui/hud.hpp"

// Not built yet: the step draws nothing and changes no flag.
void LoadHud() {}
