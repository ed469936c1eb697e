// The once-per-run level load: title picture, map, level picture, background, characters, HUD,
// effects, items, sounds and the gameplay keys.
#pragma once

void LoadLevel();
// The keys of the attacks and the power-up into their buttons' slots, as the bindings say; at the
// level load and again whenever the bindings change after it.
void BindGameplayKeys();
void LoadEffects();
void LoadUnitSounds();
void LoadPlayerSounds();
