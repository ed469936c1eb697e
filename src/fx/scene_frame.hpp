// What the effects and the drawing of one frame of the level work on: the level's frame, the
// effects' own state, the settings and font that decide how they show, and whether they show.
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
  // Off (--no-draw): the level driver calls no show, so the frame's rules and effect steps run
  // in their order with nothing drawn.
  bool drawn = true;
};
