// The level driver: the per-frame level step, the wake-up and processing pass, and the restart.
#pragma once

// Once per frame while a level is played: the level end, the statistics screen, and unless
// paused or finished every gameplay step in its fixed order.
void RunLevel();
// Wakes units and decides which are near enough to the player to be processed this frame.
void UpdateUnitStates();
// Puts units, camera, power-up, items, sounds and statistics back to the level's start.
void RestartLevel();
