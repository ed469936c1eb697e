// The effects of one processed unit: lightning, blood and the explosion, each a step that
// advances the effect and a show that draws what the step left. The level driver calls the show
// right after the step, and follows them with the golem's shake, the combo text and the power-up
// flash.
#pragma once

#include <cstdint>

#include "fx/scene_frame.hpp"

// The blood spray shows this many pictures of its frame folder.
constexpr uint16_t kSprayFrames = 5;

// Advances a processed unit's effects by the frame: their timers, pictures, random draws and
// sounds.
void StepUnitEffects(const SceneFrame& s, Unit& u);
// Draws the unit's effects as their last step left them.
void ShowUnitEffects(const SceneFrame& s, const Unit& u);
