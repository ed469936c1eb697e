// The click of the menu and training buttons: started by a new press, played to its end (menu) or
// stopped a little before it (training).
#pragma once

#include <cstdint>

#include "app/game_state.hpp"

// The menu's click has ended once it stands at its end.
bool MenuClickEnded(uint32_t position, uint32_t length);
// The training pages cut their click 500 bytes before its end. A click of 500 bytes or less has
// no such point: it is played to its end instead of being cut before it is heard.
bool TrainingClickEnded(uint32_t position, uint32_t length);

// The menu and the training pages play the one click stream, so they share one pending flag:
// with a flag each, a click cut short and rewound by the training pages would still be pending
// for the menu and sound again, unasked, when the player comes back to it.
extern bool clickSoundPending;

// One frame of the click: a new press raises the pending flag; while it is raised the click plays
// at `volume`; once `ended` says so it is stopped, rewound and the flag cleared.
void UpdateClickSound(SoundHandle click, bool newPress, uint8_t volume,
                      bool (*ended)(uint32_t position, uint32_t length));
