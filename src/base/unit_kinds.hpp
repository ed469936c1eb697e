// The kinds of character a level places, by the numbers its map stores.
#pragma once

#include <cstdint>

// The kinds the code names; game/kinds.cpp holds each kind's row, in the same order.
enum UnitKind : int32_t { kPlayer = 0, kSentinel = 1, kGuard = 2, kGolem = 3 };

// A map names kinds 0..9: the level's tables hold a slot for each, whether a row names it or not.
constexpr int kKindSlots = 10;
