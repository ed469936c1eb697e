// The gameplay part of the game state: the unit table and camera, the attack pulse, the combo
// and power-up, hits, the statistics of the level, the death fade and the screen shake.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "game/items.hpp"
#include "game/unit.hpp"

constexpr int kComboEntries = 513;

struct ComboEntry {
  double kind = 0;  // 1.0 .. 4.0
  double time = 0;  // comboClock at the press
};

struct ComboState {
  uint8_t attackKind = 0;  // attack started this frame, 1..4; cleared at the end of the frame
  double attackCooldown = 0;
  uint8_t attackLatch = 0;
  uint8_t comboActive = 0;
  std::array<ComboEntry, kComboEntries> comboBuffer{};
  int32_t comboCount = 0;
  double comboClock = 0;
  double comboDeadline = 0;
  uint8_t comboLevel = 0;
  // A golem took this frame's combo 7 (and set the level to 0): the golems processed after it
  // in the same frame must not read that 0 as the combo having ended. Cleared as each frame's
  // attack input is read.
  uint8_t fullComboTaken = 0;
};

struct LevelStats {
  int32_t points = 0;
  double timeTaken = 0;
  std::array<int32_t, kKindSlots> kills{};  // by kind, for the kinds whose kills are counted
  int32_t headsRemoved = 0;
  int32_t combo7Count = 0;
  uint8_t combo7Counted = 0;
};

struct GamePlay {
  UnitTable units;
  double cameraX = 0;
  double cameraY = 0;
  ComboState combo;
  int32_t powerUpCharges = 0;
  uint8_t powerUpActive = 0;
  uint8_t lastHitKind = 0;  // kind of the enemy the player's blow last landed on
  int32_t bonusDamage = 0;
  uint8_t stepVariant = 0;  // which step sound the player plays
  LevelStats levelStats;
  float deathFade = 0;
  // How long a fallen golem has shaken the screen.
  double shakeTimer = 0;
  ItemState items;
};

// The camera shows the player this far from the screen's left and top edges.
constexpr int64_t kPlayerOnScreen = 400;

// The camera that shows the player there, its position cut to whole pixels.
inline void PlaceCameraOnPlayer(GamePlay& play) {
  const Unit& player = play.units[0];
  play.cameraX = static_cast<double>(kPlayerOnScreen - static_cast<int64_t>(std::trunc(player.x)));
  play.cameraY = static_cast<double>(kPlayerOnScreen - static_cast<int64_t>(std::trunc(player.y)));
}
