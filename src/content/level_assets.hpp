// What the level load brings in besides the map and the units: the level picture, background,
// death overlay and the sound tables of the units.
#pragma once

#include <array>
#include <cstdint>

#include "base/types.hpp"
#include "formats/level_map_file.hpp"

constexpr int kLevelScreens = kMaxLevelScreens;
constexpr int kUnitSoundSlots = 16;
using UnitSounds = std::array<SoundHandle, kUnitSoundSlots>;

struct LevelAssets {
  Texture titleTexture = 0;  // alive only while the level loads
  std::array<Texture, kLevelScreens> levelFrames{};
  Texture backgroundTexture = 0;
  Texture deathOverlayTexture = 0;
  UnitSounds sentinelSounds{};
  UnitSounds guardSounds{};
  UnitSounds golemSounds{};
  UnitSounds playerSounds{};
  std::array<SoundHandle, 3> commentSounds{};
};
