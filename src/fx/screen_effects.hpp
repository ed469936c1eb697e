// Effects over the whole screen or the player: the power-up flash, the combo text and the shake.
#pragma once

#include <cstdint>

// While `flag` is set, a white flash over the screen fades by the frame time on every call; once
// faded it clears `flag` (which ends the power-up) and is ready for the next.
void DrawWhiteFlash(uint8_t& flag);
// "combo <level>" over the player while a combo hits the stunned enemy `i` (never for i = 0).
void DrawComboText(int i);
// While `flag` is set, jolts the world against the player; clears `flag` after 0.5 s.
void ShakeScreen(uint8_t& flag);

// The opacity a full-screen or sky flash is drawn at: a quarter of it with reduced flashes
// (settings.cfg), which last as long and change nothing of the game.
double ShownFlash(double opacity);
