// The sentinel: a flying gun that keeps about 200 px above the player and no more than 200 px to
// its side, hovers while near and fires every 5 to 9 seconds. Also its hum, shock and shot sounds,
// its shot landing on the player, the animation its state shows and the arming of its explosion.
#include <cmath>

#include "audio/sound.hpp"
#include "base/random.hpp"
#include "game/animation_select.hpp"
#include "game/enemy_kinds.hpp"
#include "game/hits.hpp"
#include "game/unit_sounds.hpp"

namespace {
using namespace sound_kit;

constexpr double kDeathLength = 1.5;
// How far to the side and above the player the sentinel keeps.
constexpr double kKeepAside = 200;
constexpr double kKeepAbove = 200;
// Near enough to hover and count down to the next shot.
constexpr double kNearX = 400;
constexpr double kNearY = 350;
// Knocked away by a blow: for this long, at this many times its speed, sinking as it reels.
constexpr double kPushLength = 0.5;
constexpr double kPushSpeed = 7;
// The hover phase starts over once above this many radians.
constexpr double kHoverPhaseLimit = 50;
// Hover amplitudes, px per ms: 0.1 (sideways) and 0.15 (up and down) plus up to 0.049.
constexpr int32_t kHoverAmpSpread = 50;
constexpr double kHoverAmpStep = 0.001;
constexpr double kHoverAmpXLeast = 0.1;
constexpr double kHoverAmpYLeast = 0.15;
// The shot comes after 5..9 s; the sentinel shows its charge for the last half second.
constexpr int32_t kFirePeriodSpread = 5;
constexpr double kFirePeriodLeast = 5;
constexpr double kChargeLength = 0.5;

// Returns whether it is still reeling.
bool Reel(Unit& u, const Unit& player, uint8_t playerAttack, double dt) {
  u.stunTime += Seconds(dt);
  u.fireTimer = 0;
  // Every new attack of the player sends it away afresh, the way the player looks.
  if (playerAttack > 0) {
    u.pushTime = kPushLength;
    u.pushDir = BlowDirection(player);
  }
  if (u.pushTime > 0) {
    u.pushTime -= Seconds(dt);
  } else {
    u.stunTime = 0;
    u.stunned = 0;
  }
  u.x += u.speed * dt * kPushSpeed * u.pushDir;
  u.y += u.speed * dt;
  return u.stunned != 0;
}

void Follow(Unit& u, const Unit& player, double dt) {
  if (u.x > player.x + kKeepAside) u.x -= u.speed * dt;
  if (u.x < player.x - kKeepAside) u.x += u.speed * dt;
  // Only a sentinel above the player holds its height; one below stays where it is.
  if (u.y < player.y) {
    if (std::abs(player.y - u.y) < kKeepAbove) u.y -= u.speed * dt;
    if (std::abs(player.y - u.y) > kKeepAbove && u.y < player.y) u.y += u.speed * dt;
  }
}

void HoverAndCountDown(Unit& u, double dt) {
  u.x += std::sin(u.hoverPhase) * u.hoverAmpX * dt;
  u.y += std::cos(u.hoverPhase) * dt * u.hoverAmpY;
  if (u.hoverPhase > kHoverPhaseLimit) {
    u.hoverPhase = 0;
  } else {
    u.hoverPhase += Seconds(dt);
  }
  u.fireNow = 0;
  if (u.fireTimer < u.firePeriod) {
    u.fireTimer += Seconds(dt);
  } else if (u.stunned == 0) {
    u.fireTimer = 0;
    u.firePeriod = Random(kFirePeriodSpread) + kFirePeriodLeast;
    u.fireNow = 1;
  }
}

// Its sounds.
}  // namespace

void UpdateSentinel(Unit& u, const Unit& player, uint8_t playerAttack, double dt) {
  if (u.life <= 0) {
    if (u.deathTime < kDeathLength) {
      u.deathTime += Seconds(dt);
    } else {
      u.deathDone = 1;
    }
    u.stunned = 0;
    return;
  }
  u.moving = 1;
  // A shot fired just before keeps fireNow set while it reels: only a near, steady sentinel
  // clears it.
  if (u.stunned == 1 && Reel(u, player, playerAttack, dt)) return;
  u.facingLeft = LooksLeftAt(u, player);
  Follow(u, player, dt);
  u.hoverNear = std::abs(u.x - player.x) < kNearX && std::abs(u.y - player.y) < kNearY;
  if (u.hoverNear == 0) {
    // Far away it neither hovers nor counts down, and picks a new hover each frame.
    u.hoverAmpX = Random(kHoverAmpSpread) * kHoverAmpStep + kHoverAmpXLeast;
    u.hoverAmpY = Random(kHoverAmpSpread) * kHoverAmpStep + kHoverAmpYLeast;
  } else {
    HoverAndCountDown(u, dt);
  }
  u.charging = u.firePeriod - kChargeLength < u.fireTimer ? 1 : 0;
}

// Its death arms its explosion only in its first moments.
constexpr double kExplosionArmSeconds = 0.05;

void ArmSentinelExplosion(Unit& u) {
  if (u.Dead() && u.deathTime < kExplosionArmSeconds) u.deathEffect = 1;
}

void SentinelSounds(const LevelFrame& f, Unit& u) {
  if (u.life <= 0) return;
  const Voice voice(f);
  const UnitSounds& s = f.assets.sentinelSounds;
  voice.PlayLooped(Slot(s, sentinel_sound::kMoving));
  if (u.stunned && u.stunTime < kFreshStun) {
    u.shockLatch = 1;
    Rewind(Slot(s, sentinel_sound::kShocked));
  }
  if (u.shockLatch) voice.PlayOnce(Slot(s, sentinel_sound::kShocked), u.shockLatch);
  if (u.fireNow) {
    u.shotLatch = 1;
    Rewind(Slot(s, sentinel_sound::kAttack));
  }
  if (u.shotLatch) voice.PlayOnce(Slot(s, sentinel_sound::kAttack), u.shotLatch);
}

// Its shot stuns the player this long, seconds.
constexpr double kShotStun = 1.0;

void SentinelShoots(Unit& u, Unit& player) {
  // Crouching ducks under the shot. A sentinel struck or stunned right after it fired keeps its
  // fire flag for a while, but the shot is taken only once.
  u.hitNow = u.fireNow == 1 && u.shotTaken == 0 && player.crouching == 0;
  u.shotTaken = u.fireNow;
  if (u.hitNow == 0) return;
  player.life -= u.damage;
  player.stunLength = kShotStun;
}

// Its animation rows (charging or not) and its death.
constexpr AnimRow kSentinelRows[] = {{When::NotCharging, 0}, {When::Charging, 1}};
constexpr uint8_t kSentinelDead = 2;

void SelectSentinel(Unit& u) {
  u.anim->playing = 1;
  ApplyRows(u, kSentinelRows);
  if (u.Dead()) u.animIndex = kSentinelDead;
}
