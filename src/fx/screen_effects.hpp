// Effects over the whole screen or the player: the power-up flash and the combo text.
#pragma once

#include <cstdint>

#include "fx/scene_frame.hpp"

// The flash's picture, loaded when the first power-up (`flag`) needs it; the flash then starts
// fully white.
void LoadWhiteFlash(EffectsState& fx, uint8_t flag);
// The white flash over the screen at `opacity` (FadePowerUpFlash fades it).
void DrawWhiteFlash(const SceneFrame& s, double opacity);
// The red fade over the screen while the player lies dead, at `fade` opacity.
void DrawDeathOverlay(const LevelAssets& assets, float fade);
// "combo <level>" over the player while a combo hits the stunned enemy `i` (never for i = 0).
void DrawComboText(const SceneFrame& s, int i);

// The opacity a full-screen or sky flash is drawn at: a quarter of it with `reduced` flashes
// (settings.cfg), which last as long and change nothing of the game.
double ShownFlash(double opacity, bool reduced);
