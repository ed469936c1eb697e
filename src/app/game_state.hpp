// The one global record of the program: mode flags, settings and everything the frame loop owns.
#pragma once

#include <array>
#include <cstdint>

#include "app/bindings.hpp"
#include "app/engine.hpp"
#include "base/mode_flags.hpp"
#include "base/types.hpp"
#include "content/level_assets.hpp"
#include "content/level_map.hpp"
#include "formats/character_record.hpp"
#include "formats/config_record.hpp"
#include "formats/settings_text.hpp"
#include "fx/effects_state.hpp"
#include "fx/scene_frame.hpp"
#include "game/level_frame.hpp"
#include "game/play_state.hpp"

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
  // Off (--no-draw): the level's frames run their rules and effects and draw nothing.
  bool levelDrawn = true;

  // The level: its map, the definitions of the ten kinds (0..3 used), and what the load brings.
  LevelMap map;
  std::array<CharacterRecord, kKindSlots> charDefs{};
  LevelAssets level;
  // Units, camera, combo, power-up, items and statistics.
  GamePlay play;
  EffectsState fx;
};

extern GameState gameState;

// Puts the whole program state back to its start-of-run values (tests, and a fresh run).
void ResetGameState();

// The level's frame as the program stands now: its state, this frame's input and time step.
LevelFrame CurrentLevelFrame();
// The drawing's frame: the level's, the effects, and the settings and font of how they show.
SceneFrame CurrentSceneFrame();

// The level's units as the program stands now (the screens and the state dump read them).
inline Unit& PlayerUnit() {
  return gameState.play.units[0];
}
inline Unit& UnitAt(int i) {
  return At(gameState.play.units, static_cast<std::size_t>(i), "unit");
}
inline int UnitCount() {
  return gameState.map.CharCount;
}
