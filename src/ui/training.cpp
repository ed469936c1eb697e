// The training pages.
#include "ui/training.hpp"

// Not built yet: the step draws nothing and changes no flag.
void RunTraining() {}
