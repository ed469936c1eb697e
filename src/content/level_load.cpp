// The once-per-run level load.
#include "content/level_load.hpp"

// Not built yet: the step draws nothing and changes no flag.
void LoadLevel() {}
