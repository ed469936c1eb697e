// Lightning in the sky behind the level, with thunder.
#pragma once

#include "fx/scene_frame.hpp"

// A frame of the flashes: the timers, a new period's length drawn at random, the flash's hold
// and fade, and the thunder; loads the picture and the sound on the first call.
void StepSkyFlashes(const SceneFrame& s);
// The flash over the background while the period is in its flash (the step decides).
void ShowSkyFlash(const SceneFrame& s);
