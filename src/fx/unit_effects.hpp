// The effects that belong to one processed unit: lightning, blood, explosion, shake, combo text
// and the power-up flash.
#pragma once

#include <cstdint>

// The blood spray shows this many pictures of its frame folder.
constexpr uint16_t kSprayFrames = 5;

void DrawUnitEffects(int i);
