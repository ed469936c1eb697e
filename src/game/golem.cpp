// The golem: slow; stops 100 px further out than a guard and alternates two heavy blows, the
// next one chosen while it walks.
#include "app/random.hpp"
#include "game/enemy_kinds.hpp"
#include "game/screen_shake.hpp"

namespace {

constexpr double kStunLength = 1.0;
constexpr double kDeathLength = 5.0;
constexpr double kBlowCycle = 1.4;
// It stops this much further out than where the bodies would touch.
constexpr double kStandOff = 100;
// Blow 1 or 2.
constexpr int32_t kBlowVariants = 2;
// A golem shakes the screen when its fall lands, 2.0 .. 2.1 s into its death (both strict).
constexpr double kShakeFrom = 2.0;
constexpr double kShakeTo = 2.1;

void Die(Unit& u, double dt) {
  u.moving = u.idle = u.attack = u.stunned = u.jumping = 0;
  if (u.deathTime < kDeathLength) {
    u.deathTime += Seconds(dt);
  } else {
    u.deathDone = 1;
  }
}

// Returns whether it walked.
bool Approach(Unit& u, const Unit& player, double dt) {
  const double stop = u.boxRight + player.boxRight + kStandOff;
  bool walked = false;
  if (u.x - player.x > stop) {
    u.x -= u.speed * dt;
    walked = true;
  }
  if (player.x - u.x > stop) {
    u.x += u.speed * dt;
    walked = true;
  }
  return walked;
}

}  // namespace

void UpdateGolem(Unit& u, const Unit& player, double dt) {
  if (u.life <= 0) {
    Die(u, dt);
    return;
  }
  if (u.stunned == 1 && u.stunTime < kStunLength) {
    u.stunTime += Seconds(dt);
  } else {
    u.stunTime = 0;
    u.stunned = 0;
  }
  u.facingLeft = LooksLeftAt(u, player);
  if (u.stunned == 1) return;
  u.moving = Approach(u, player, dt) ? 1 : 0;
  if (u.moving == 1) {
    // The blow is chosen only while walking: a golem that stays in reach repeats its blow, and
    // one that has never walked (variant 0) does not strike at all.
    u.attackVariant = static_cast<uint8_t>(Random(kBlowVariants) + 1);
    u.attack = 0;
    u.attackTime = 0;
  } else {
    if (u.attackTime < kBlowCycle) {
      u.attackTime += Seconds(dt);
    } else {
      u.attackTime = 0;
    }
    u.attack = u.attackVariant;
  }
}

void ShakeForFallenGolem(Unit& u) {
  if (u.kind != kGolem) return;
  if (kShakeFrom < u.deathTime && u.deathTime < kShakeTo) u.deathEffect = 1;
  if (u.deathEffect != 0) ShakeScreen(u.deathEffect);
}
