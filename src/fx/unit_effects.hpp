// The effects drawn for one processed unit: lightning, blood and the explosion. The level driver
// follows them with the golem's shake, the combo text and the power-up flash.
#pragma once

#include <cstdint>

#include "fx/scene_frame.hpp"

// The blood spray shows this many pictures of its frame folder.
constexpr uint16_t kSprayFrames = 5;

void DrawUnitEffects(const SceneFrame& s, int i);
