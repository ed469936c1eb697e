// The kinds of character a level places, by the numbers its map stores.
#pragma once

#include <cstdint>

enum UnitKind : int32_t { kPlayer = 0, kSentinel = 1, kGuard = 2, kGolem = 3 };
