// The one global record of the program: mode flags, settings and everything the frame loop owns.
#pragma once

#include <array>
#include <cstdint>

#include "app/bindings.hpp"
#include "app/engine.hpp"
#include "base/types.hpp"
#include "content/level_assets.hpp"
#include "content/level_map.hpp"
#include "formats/character_record.hpp"
#include "formats/config_record.hpp"
#include "formats/settings_text.hpp"
#include "fx/effects_state.hpp"
#include "game/play_state.hpp"

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

struct GameState {
  ModeFlags flags;
  Settings settings;
  // settings.cfg as this run read it, and the bindings in force (a replay's own, when scripted).
  PlayerSettings playerSettings;
  Bindings bindings = DefaultBindings();

  uint8_t gammaApplied = 0;
  uint8_t keyHeld = 0;
  uint8_t keyReleased = 0;
  GammaRamp savedGammaRamp{};
  bool savedGammaValid = false;
  // -1 when the desktop mode matched no listed mode; nothing is restored then.
  int32_t savedModeIndex = -1;

  SoundHandle introMusic = 0;
  SoundHandle menuMusic = 0;
  SoundHandle gameMusic = 0;
  SoundHandle clickSound = 0;
  Texture fontTexture = 0;

  // Pointer position in the 800 x 600 logical space.
  int cursorX = 0;
  int cursorY = 0;

  cMORVA morva;

  // The level: its map, the definitions of the ten kinds (0..3 used), and what the load brings.
  LevelMap map;
  std::array<CharacterRecord, 10> charDefs{};
  LevelAssets level;
  // Units, camera, combo, power-up, items and statistics.
  GamePlay play;
  EffectsState fx;
};

extern GameState gameState;

// Puts the whole program state back to its start-of-run values (tests, and a fresh run).
void ResetGameState();
