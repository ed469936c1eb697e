// The statistics screen.
#include "ui/statistics.hpp"

// Not built yet: shows nothing; Escape does not leave it.
void RunStatistics() {}
