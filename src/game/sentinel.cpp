// The sentinel: a flying gun that keeps about 200 px above the player and no more than 200 px to
// its side, hovers while near and fires every 5 to 9 seconds. Also its hum, shock and shot sounds,
// its shot landing on the player, the animation its state shows and the arming of its explosion.
#include <cmath>

#include "audio/sound.hpp"
#include "base/random.hpp"
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
  SentinelKeptState& k = KindStateOf<SentinelKeptState>(u);
  u.stunTime += Seconds(dt);
  k.fireTimer = 0;
  // Every new attack of the player sends it away afresh, the way the player looks.
  if (playerAttack > 0) {
    k.pushTime = kPushLength;
    u.pushDir = BlowDirection(player);
  }
  if (k.pushTime > 0) {
    k.pushTime -= Seconds(dt);
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

void HoverAndCountDown(Unit& u, SentinelKeptState& k, double dt) {
  u.x += std::sin(k.hoverPhase) * k.hoverAmpX * dt;
  u.y += std::cos(k.hoverPhase) * dt * k.hoverAmpY;
  if (k.hoverPhase > kHoverPhaseLimit) {
    k.hoverPhase = 0;
  } else {
    k.hoverPhase += Seconds(dt);
  }
  u.fireNow = 0;
  if (k.fireTimer < k.firePeriod) {
    k.fireTimer += Seconds(dt);
  } else if (u.stunned == 0) {
    k.fireTimer = 0;
    k.firePeriod = Random(kFirePeriodSpread) + kFirePeriodLeast;
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
  SentinelKeptState& k = KindStateOf<SentinelKeptState>(u);
  k.hoverNear = std::abs(u.x - player.x) < kNearX && std::abs(u.y - player.y) < kNearY;
  if (k.hoverNear == 0) {
    // Far away it neither hovers nor counts down, and picks a new hover each frame.
    k.hoverAmpX = Random(kHoverAmpSpread) * kHoverAmpStep + kHoverAmpXLeast;
    k.hoverAmpY = Random(kHoverAmpSpread) * kHoverAmpStep + kHoverAmpYLeast;
  } else {
    HoverAndCountDown(u, k, dt);
  }
  KindStateOf<SentinelPlayState>(u).charging = k.firePeriod - kChargeLength < k.fireTimer ? 1 : 0;
}

// Its death arms its explosion only in its first moments.
constexpr double kExplosionArmSeconds = 0.05;

void ArmSentinelExplosion(Unit& u) {
  if (u.Dead() && u.deathTime < kExplosionArmSeconds) u.deathEffect = 1;
}

void SentinelSounds(const LevelFrame& f, Unit& u) {
  if (u.life <= 0) return;
  const Voice voice(f);
  const UnitSounds& s = f.assets.SoundsOf(kSentinel);
  voice.PlayLooped(Slot(s, sentinel_sound::kMoving));
  if (u.stunned && u.stunTime < kFreshStun) {
    u.shockLatch = 1;
    Rewind(Slot(s, sentinel_sound::kShocked));
  }
  if (u.shockLatch) voice.PlayOnce(Slot(s, sentinel_sound::kShocked), u.shockLatch);
  uint8_t& shotLatch = KindStateOf<SentinelKeptState>(u).shotLatch;
  if (u.fireNow) {
    shotLatch = 1;
    Rewind(Slot(s, sentinel_sound::kAttack));
  }
  if (shotLatch) voice.PlayOnce(Slot(s, sentinel_sound::kAttack), shotLatch);
}

// Its shot stuns the player this long, seconds.
constexpr double kShotStun = 1.0;

void SentinelShoots(Unit& u, Unit& player) {
  // Crouching ducks under the shot. A sentinel struck or stunned right after it fired keeps its
  // fire flag for a while, but the shot is taken only once.
  uint8_t& shotTaken = KindStateOf<SentinelPlayState>(u).shotTaken;
  u.hitNow = u.fireNow == 1 && shotTaken == 0 && player.crouching == 0;
  shotTaken = u.fireNow;
  if (u.hitNow == 0) return;
  player.life -= u.damage;
  player.stunLength = kShotStun;
}

// Its animation entries: hovering, charging a shot, dead.
constexpr uint8_t kSentinelHovers = 0;
constexpr uint8_t kSentinelCharges = 1;
constexpr uint8_t kSentinelDead = 2;

void SelectSentinel(Unit& u) {
  u.anim->playing = 1;
  u.animIndex = KindStateOf<SentinelPlayState>(u).charging ? kSentinelCharges : kSentinelHovers;
  if (u.Dead()) u.animIndex = kSentinelDead;
}
