// The once-per-run level load: title picture, map, level picture, background, characters, HUD,
// effects, items, sounds and the gameplay keys.
#pragma once

void LoadLevel();
void LoadEffects();
void LoadUnitSounds();
void LoadPlayerSounds();
