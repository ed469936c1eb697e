// Lightning in the sky behind the level, with thunder.
#pragma once

#include "fx/scene_frame.hpp"

void DrawSkyFlashes(const SceneFrame& s);
