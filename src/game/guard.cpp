// The guard: walks up to the player until the bodies touch and strikes every 0.77 s; the player's
// fourth attack throws it through the air.
#include <cmath>

#include "app/game_state.hpp"
#include "game/enemy_kinds.hpp"

namespace {

constexpr double kStunLength = 0.8;
constexpr double kDeathLength = 5.0;
constexpr double kStrikeCycle = 0.77;
// The strike reaches this far beyond the two bodies.
constexpr double kStrikeReach = 5;
// The attack that throws a guard, and not once it has lain dead this long.
constexpr uint8_t kLaunchAttack = 4;
constexpr double kLaunchTooLate = 2.0;
// The flight: the phase runs from -2 to past 0.5 at 0.003 per ms (about 833 ms), rising while
// its sine is negative; 0.5 px per ms sideways, 1.1 px per ms at most up or down.
constexpr double kLaunchPhaseStart = -2.0;
constexpr double kLaunchPhaseEnd = 0.5;
constexpr double kLaunchPhaseRate = 0.003;
constexpr double kLaunchSpeedX = 0.5;
constexpr double kLaunchSpeedY = 1.1;

void WearOffStun(Unit& u, double dt) {
  if (u.stunned == 1 && u.stunTime < kStunLength) {
    u.stunTime += Seconds(dt);
  } else {
    u.stunTime = 0;
    u.stunned = 0;
  }
}

void Fly(Unit& u, const Unit& player, double dt) {
  double& phase = u.launchPhase;
  // The player's blow must land on this guard in this very frame; the lock keeps it to one
  // launch per flight.
  if (gameState.play.combo.attackKind == kLaunchAttack && player.hitNow == 1 && u.launchLock == 0 &&
      u.deathTime < kLaunchTooLate) {
    u.pushDir = BlowDirection(player);
    u.launched = 1;
    phase = kLaunchPhaseStart;
  }
  if (u.launched != 1) return;
  if (phase == kLaunchPhaseStart) u.launchLock = 1;
  // The landing frame still moves.
  if (phase > kLaunchPhaseEnd) {
    u.launched = 0;
    u.launchLock = 0;
  }
  u.x += kLaunchSpeedX * dt * u.pushDir;
  u.y += std::sin(phase) * dt * kLaunchSpeedY;
  phase += kLaunchPhaseRate * dt;
}

// Walks until its body box touches the player's; returns whether it walked.
bool Approach(Unit& u, const Unit& player, double dt) {
  bool walked = false;
  double dx = player.x - u.x;
  if (dx < 0 && std::abs(dx) > player.boxRight - u.boxLeft + 1) {
    u.x -= u.speed * dt;
    walked = true;
  }
  dx = player.x - u.x;
  if (dx > 0 && std::abs(dx) > u.boxRight - player.boxLeft + 1) {
    u.x += u.speed * dt;
    walked = true;
  }
  return walked;
}

void Strike(Unit& u, const Unit& player, double dt) {
  const bool inReach = std::abs(player.x - u.x) < u.boxRight + player.boxRight + kStrikeReach &&
                       std::abs(player.y - u.y) < u.boxBottom + player.boxBottom + kStrikeReach;
  if (!inReach) {
    u.attack = 0;
    return;
  }
  u.attack = 1;
  if (u.attackTime < kStrikeCycle) {
    u.attackTime += Seconds(dt);
  } else {
    u.attackTime = 0;
  }
}

void Die(Unit& u, double dt) {
  if (u.life >= 1) return;
  u.attack = 0;
  if (u.deathTime < kDeathLength) {
    u.deathTime += Seconds(dt);
  } else {
    u.deathDone = 1;
    u.stunned = 0;
  }
}

}  // namespace

void UpdateGuard(Unit& u, const Unit& player, double dt) {
  const bool finished = u.life <= 0 && u.deathDone == 1;
  if (!finished) {
    WearOffStun(u, dt);
    // A body that has not lain dead long can still be thrown.
    Fly(u, player, dt);
    if (u.life > 0) u.facingLeft = LooksLeftAt(u, player);
    if (u.stunned != 1 && u.life > 0) {
      u.moving = Approach(u, player, dt) ? 1 : 0;
      if (u.moving == 1) u.attackTime = 0;
      Strike(u, player, dt);
    }
  }
  Die(u, dt);
}
