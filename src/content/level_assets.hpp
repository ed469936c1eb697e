// What the level load brings in besides the map and the units: the level picture, background,
// death overlay and the sound tables of the units.
#pragma once

#include <array>
#include <cstdint>

#include "base/types.hpp"
#include "base/unit_kinds.hpp"
#include "formats/level_map_file.hpp"

constexpr int kLevelScreens = kMaxLevelScreens;
constexpr int kUnitSoundSlots = 16;
using UnitSounds = std::array<SoundHandle, kUnitSoundSlots>;

struct LevelAssets {
  Texture titleTexture = 0;  // alive only while the level loads
  std::array<Texture, kLevelScreens> levelFrames{};
  Texture backgroundTexture = 0;
  Texture deathOverlayTexture = 0;
  std::array<UnitSounds, kKindSlots> unitSounds{};  // by kind
  std::array<SoundHandle, 3> commentSounds{};

  const UnitSounds& SoundsOf(int32_t kind) const {
    return unitSounds[static_cast<std::size_t>(kind)];
  }
};
