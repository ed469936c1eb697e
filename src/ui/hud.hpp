// The HUD over the running level: its pictures, its drawing and the time format it shares.
#pragma once

#include <string>

#include "fx/scene_frame.hpp"

struct HudTextures {
  Texture lifeBar = 0;
  Texture lifeBarFrame = 0;
  Texture filter = 0;
};
extern HudTextures hudTextures;

// Loads the HUD's pictures; every call replaces the texture names (start-up, and each level load).
void LoadHud();
// Draws the HUD over the running level: what the frame holds, in its font.
void DrawHud(const SceneFrame& s);
// A time as whole minutes, " : ", and the whole seconds left over (75.4 s reads "1 : 15").
std::string MinutesSeconds(double seconds);
