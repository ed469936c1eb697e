// The HUD over the running level: its pictures.
#pragma once

#include "app/game_state.hpp"

struct HudTextures {
  Texture lifeBar = 0;
  Texture lifeBarFrame = 0;
  Texture filter = 0;
};
extern HudTextures hudTextures;

// Loads the HUD's pictures; every call replaces the texture names (start-up, and each level load).
void LoadHud();
// Draws the HUD over the running level.
void DrawHud();
