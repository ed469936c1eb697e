// Animation selection: rows of state flags, later true rows overriding earlier ones.
#include "game/animation_select.hpp"

#include <span>

#include "game/units.hpp"

namespace {

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

struct Row {
  When when;
  uint8_t index;
};

// The player's attacks 2 and 3 show each other's entries.
constexpr Row kPlayerRows[] = {{When::Idle, 0},    {When::Moving, 1},    {When::Jumping, 2},
                               {When::Attack1, 4}, {When::Attack2, 6},   {When::Attack3, 5},
                               {When::Attack4, 7}, {When::Crouching, 8}, {When::Stunned, 10}};
constexpr Row kGuardRows[] = {{When::Idle, 0},
                              {When::Moving, 1},
                              {When::Jumping, 2},
                              {When::Attack1, 4},
                              {When::Stunned, 11}};
constexpr Row kGolemRows[] = {{When::Idle, 0},    {When::Moving, 1},  {When::Jumping, 2},
                              {When::Attack1, 4}, {When::Attack2, 5}, {When::Stunned, 10}};
constexpr Row kSentinelRows[] = {{When::NotCharging, 0}, {When::Charging, 1}};

constexpr uint8_t kPlayerDead = 11;
constexpr uint8_t kGuardDead = 10;
constexpr uint8_t kGolemDead = 17;
constexpr uint8_t kSentinelDead = 2;

// A beheaded or beaten guard lies still on its first death picture for 2 s, then plays the
// death animation once.
constexpr double kGuardDeathHold = 2.0;
constexpr double kGuardDeathPlay = 2.1;

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

void ApplyRows(Unit& u, std::span<const Row> rows) {
  for (const Row& row : rows) {
    if (Holds(u, row.when)) u.animIndex = row.index;
  }
}

// Character art faces left: a unit facing right is drawn mirrored.
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

void SelectGuard(Unit& u) {
  FaceTheWayItLooks(u);
  u.anim->playing = 1;
  ApplyRows(u, kGuardRows);
  if (!u.Dead()) return;
  u.animIndex = kGuardDead;
  const AnimEntry& e = ShownEntry(u);
  if (u.deathTime < kGuardDeathHold) {
    u.anim->playing = 0;
    u.anim->current = static_cast<uint16_t>(e.firstFrame);
  } else if (u.deathTime > kGuardDeathHold && u.deathTime < kGuardDeathPlay) {
    u.anim->playing = 1;
  } else if (u.deathTime > kGuardDeathPlay && u.anim->current == e.firstFrame + e.frameCount - 1) {
    u.anim->playing = 0;
  }
}

void SelectGolem(Unit& u) {
  FaceTheWayItLooks(u);
  if (u.life > 0) u.anim->playing = 1;
  ApplyRows(u, kGolemRows);
  if (u.Dead()) {
    u.animIndex = kGolemDead;
    u.anim->oneShot = 1;
  }
}

void SelectSentinel(Unit& u) {
  u.anim->playing = 1;
  ApplyRows(u, kSentinelRows);
  if (u.Dead()) u.animIndex = kSentinelDead;
}

}  // namespace

void SelectAnimation(int i) {
  Unit& u = UnitAt(i);
  if (!u.anim) return;
  switch (u.kind) {
    case kPlayer:
      SelectPlayer(u);
      break;
    case kSentinel:
      SelectSentinel(u);
      break;
    case kGuard:
      SelectGuard(u);
      break;
    case kGolem:
      SelectGolem(u);
      break;
    default:
      break;
  }
  if (u.animIndex >= kAnimCount) FatalRangeError("animation index " + std::to_string(u.animIndex));
}
