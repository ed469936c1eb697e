// What the drawing of one frame of the level works on: the level's frame, the effects' own state,
// and the settings and font that decide how they show.
#pragma once

#include "base/types.hpp"
#include "fx/effects_state.hpp"
#include "game/level_frame.hpp"

struct SceneFrame {
  LevelFrame level;
  EffectsState& fx;
  bool showBlood;
  // Full-screen and sky flashes at a quarter of their brightness (settings.cfg).
  bool reducedFlashes;
  Texture font;
};
