// Which entry of its animation table a unit shows, and how its animation object plays.
#pragma once

#include <cstdint>
#include <span>

struct Unit;
struct AnimEntry;

// Sets the unit's animIndex and its animation's mirrored, playing and oneShot flags from the
// unit's state; ends the player's attack when its animation has played through.
void SelectAnimation(int i);

// The states an animation row asks about.
enum class When {
  Idle,
  Moving,
  Jumping,
  Attack1,
  Attack2,
  Attack3,
  Attack4,
  Crouching,
  Stunned,
  NotCharging,
  Charging
};

struct AnimRow {
  When when;
  uint8_t index;
};

// Sets animIndex from the rows, later true rows overriding earlier ones.
void ApplyRows(Unit& u, std::span<const AnimRow> rows);
// Character art faces left: a unit facing right is drawn mirrored.
void FaceTheWayItLooks(Unit& u);
// The animation table's entry the unit shows now.
const AnimEntry& ShownEntry(const Unit& u);

// The player's choice (each enemy kind's is in its own file, game/enemy_kinds.hpp).
void SelectPlayer(Unit& u);
