// The back ends of this run.
#include "base/backends.hpp"

Backends backends;
