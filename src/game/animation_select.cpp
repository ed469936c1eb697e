// Animation selection: rows of state flags, later true rows overriding earlier ones.
#include "game/animation_select.hpp"

#include <span>

#include "game/kinds.hpp"
#include "game/units.hpp"

namespace {

bool Holds(const Unit& u, When when) {
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
    case When::NotCharging:
      return u.charging == 0;
    case When::Charging:
      return u.charging == 1;
  }
  return false;
}

// The player's attacks 2 and 3 show each other's entries.
constexpr AnimRow kPlayerRows[] = {{When::Idle, 0},    {When::Moving, 1},    {When::Jumping, 2},
                                   {When::Attack1, 4}, {When::Attack2, 6},   {When::Attack3, 5},
                                   {When::Attack4, 7}, {When::Crouching, 8}, {When::Stunned, 10}};
constexpr uint8_t kPlayerDead = 11;
}  // namespace

void ApplyRows(Unit& u, std::span<const AnimRow> rows) {
  for (const AnimRow& row : rows) {
    if (Holds(u, row.when)) u.animIndex = row.index;
  }
}

void FaceTheWayItLooks(Unit& u) {
  u.anim->mirrored = u.facingLeft ? 0 : 1;
}

const AnimEntry& ShownEntry(const Unit& u) {
  return At(u.anims, u.animIndex, "animation index");
}

void SelectPlayer(Unit& u) {
  FaceTheWayItLooks(u);
  if (u.life > 0) u.anim->playing = 1;
  ApplyRows(u, kPlayerRows);
  if (u.Dead()) {
    u.animIndex = kPlayerDead;
    u.anim->oneShot = 1;
  }
  const AnimEntry& e = ShownEntry(u);
  if (u.attack > 0 && u.anim->current == e.firstFrame + e.frameCount - 1) u.attack = 0;
}

void SelectAnimation(int i) {
  Unit& u = UnitAt(i);
  if (!u.anim) return;
  if (auto select = RulesOf(u.kind).selectAnimation) select(u);
  if (u.animIndex >= kAnimCount) FatalRangeError("animation index " + std::to_string(u.animIndex));
}
