// The level driver: the per-frame level step, the wake-up and processing pass, and the restart.
#pragma once

// Once per frame while a level is played: the level end, the statistics screen, and unless
// paused or finished every gameplay step in its fixed order.
void RunLevel();
// While the player lies dead: the slowed time and fade, then the red overlay drawn.
void RunPlayerDeath();
// Every item not gone: the pick-up test, the picture, then a picked item's flight and sound.
void RunItems();
// A processed unit's sounds: a full combo counted first where its kind counts one (golems), then
// the sounds, which comment it.
void UnitSoundStep(int i);
// What follows processed unit i's sprite, in its fixed order: its drawn effects, a fallen golem's
// shake, the combo text, and the power-up's flash fading (which ends the power-up) and drawn.
void RunUnitEffects(int i);
// Wakes units and decides which are near enough to the player to be processed this frame.
void UpdateUnitStates();
// Puts units, camera, power-up, items, sounds and statistics back to the level's start.
void RestartLevel();
