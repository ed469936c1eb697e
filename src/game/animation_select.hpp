// Which entry of its animation table a unit shows, and how its animation object plays.
#pragma once

#include <cstdint>
#include <span>

#include "base/messages.hpp"
#include "game/unit.hpp"

// Sets the unit's animIndex and its animation's mirrored, playing and oneShot flags from the
// unit's state; ends the player's attack when its animation has played through.
void SelectAnimation(Unit& u);
// The clip of the selected entry, advanced by the frame's time: the hit tests and the guard's
// rules read the picture it leaves, so it is a step of the rules; drawing only shows it.
void StepAnimation(Unit& u, double frameMs);

// The states an animation row asks about.
enum class When { Idle, Moving, Jumping, Attack1, Attack2, Attack3, Attack4, Crouching, Stunned };

struct AnimRow {
  When when;
  uint8_t index;
};

// Whether the unit's state is what the row asks about.
inline bool Holds(const Unit& u, When when) {
  switch (when) {
    case When::Idle:
      return u.idle != 0;
    case When::Moving:
      return u.moving != 0;
    case When::Jumping:
      return u.jumping != 0;
    case When::Attack1:
      return u.attack == 1;
    case When::Attack2:
      return u.attack == 2;
    case When::Attack3:
      return u.attack == 3;
    case When::Attack4:
      return u.attack == 4;
    case When::Crouching:
      return u.crouching != 0;
    case When::Stunned:
      return u.stunned != 0;
  }
  return false;
}

// Sets animIndex from the rows, later true rows overriding earlier ones. Inline, with each kind's
// rows known where it is called: it runs for every processed unit in every frame.
inline void ApplyRows(Unit& u, std::span<const AnimRow> rows) {
  for (const AnimRow& row : rows) {
    if (Holds(u, row.when)) u.animIndex = row.index;
  }
}
// Character art faces left: a unit facing right is drawn mirrored.
inline void FaceTheWayItLooks(Unit& u) {
  u.anim->mirrored = u.facingLeft ? 0 : 1;
}
// The animation table's entry the unit shows now.
inline const AnimEntry& ShownEntry(const Unit& u) {
  return At(u.anims, u.animIndex, "animation index");
}

// A unit that plays while alive, shows what its rows say, and once dead plays its death entry
// once and holds its last picture (the player and the golem).
inline void ShowRowsThenDeath(Unit& u, std::span<const AnimRow> rows, uint8_t deadIndex) {
  FaceTheWayItLooks(u);
  if (u.life > 0) u.anim->playing = 1;
  ApplyRows(u, rows);
  if (u.Dead()) {
    u.animIndex = deadIndex;
    u.anim->oneShot = 1;
  }
}

// The player's choice (each enemy kind's is in its own file, game/enemy_kinds.hpp).
void SelectPlayer(Unit& u);
