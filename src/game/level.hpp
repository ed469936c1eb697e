// The level driver: the per-frame level step, the wake-up and processing pass, and the restart.
#pragma once

#include "fx/scene_frame.hpp"
#include "game/level_frame.hpp"

// Once per frame while a level is played: the level end, the statistics screen, and unless
// paused or finished every gameplay step in its fixed order, each show right after the step it
// shows (none with the scene frame's drawing off).
void RunLevel(const SceneFrame& s);
// While the player lies dead: the slowed time and fade, then the red overlay shown.
void RunPlayerDeath(const SceneFrame& s);
// Every item not gone: the pick-up test, the picture, then a picked item's flight and sound.
void RunItems(const SceneFrame& s);
// The sky flashes' step, then the background, the flash and the level picture shown.
void RunLevelBackground(const SceneFrame& s);
// A processed unit's sounds: a full combo counted first where its kind counts one (golems), then
// the sounds, which comment it.
void UnitSoundStep(const LevelFrame& f, int i);
// What follows processed unit i's sprite, in its fixed order: a shot-down sentinel's explosion
// armed, its effects stepped and shown, a fallen golem's shake, the combo text, and the
// power-up's flash fading (which ends the power-up) and shown.
void RunUnitEffects(const SceneFrame& s, int i);
// Wakes units and decides which are near enough to the player to be processed this frame.
void UpdateUnitStates(const LevelFrame& f);
// Puts units, camera, power-up, items, sounds and statistics back to the level's start.
void RestartLevel(const LevelFrame& f);
