// The back ends of this run.
#include "app/backends.hpp"

Backends backends;
