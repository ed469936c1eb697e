// What one frame of the level works on. The program that owns the state hands it to the driver,
// and the driver to every step: nothing in the game reaches for it otherwise.
#pragma once

#include <array>
#include <cstdint>

#include "base/input_states.hpp"
#include "base/messages.hpp"
#include "base/mode_flags.hpp"
#include "content/level_assets.hpp"
#include "content/level_map.hpp"
#include "formats/character_record.hpp"
#include "game/play_state.hpp"

struct LevelFrame {
  // Units, camera, combo, power-up, items and statistics: what the steps change.
  GamePlay& play;
  // The level as loaded: its map, the definitions of the ten kinds, its sounds and pictures.
  const LevelMap& map;
  const std::array<CharacterRecord, kKindSlots>& charDefs;
  const LevelAssets& assets;
  // The level's end, the pause and the restart are asked for through the modes.
  ModeFlags& modes;
  // The frame's input: a step that acts on a press removes it, so the press acts once.
  StateSet& input;
  // A key was released this frame.
  bool keyReleased;
  // The frame's time step in milliseconds, by which all motion is scaled.
  double frameMs;
  // The pace of the game's clock, 1000 normally (the player's death slows it).
  double& timeScale;
  uint8_t soundVolume;

  Unit& Player() const { return play.units[0]; }
  // A unit by index; an index outside the table is a fatal range error.
  Unit& UnitAt(int i) const { return At(play.units, static_cast<std::size_t>(i), "unit"); }
  // Units the level holds, the player included.
  int UnitCount() const { return map.CharCount; }
};
