// The program's modes.
#pragma once

#include <cstdint>

// Mode flags, one byte each, in their fixed order. Screens move the program between modes only
// by setting these.
struct ModeFlags {
  uint8_t inGame = 0;
  uint8_t quitRequested = 0;
  uint8_t levelFinished = 0;
  uint8_t paused = 0;
  uint8_t restartRequested = 0;
  uint8_t introDone = 0;
  uint8_t menuLoaded = 0;
  uint8_t trainerLoaded = 0;
  uint8_t statsLoaded = 0;
  uint8_t menuShown = 0;
  uint8_t optionsShown = 0;
  uint8_t trainerShown = 0;
  uint8_t statsShown = 0;
  uint8_t mouseLeftDown = 0;
  uint8_t mouseRightDown = 0;
  uint8_t levelLoaded = 0;
};
