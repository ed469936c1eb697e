// The options screen.
#include "ui/options.hpp"

// Not built yet: the step draws nothing and changes no flag.
void RunOptions() {}
