// Each enemy kind, one file each: its behaviour (called with the unit, the player and the frame's
// time step in milliseconds and the attack the player started in it), its blow on the player, its
// sounds and its animation; game/kinds.cpp names them in the kind's row. Also each kind's own
// state, which its unit holds in its kind-state blocks (KindStateOf in game/unit.hpp).
#pragma once

#include "base/measures.hpp"
#include "game/level_frame.hpp"
#include "game/unit.hpp"

// The pictures of the demo content's blows on which the guard's axe and the golem's fists meet the
// player (animations 4 and 5).
constexpr uint16_t kGuardStrikeFrame = 60;
constexpr uint16_t kGolemBlow1Frame = 33;
constexpr uint16_t kGolemBlow2Frame = 62;

// The sentinel's own state that a restart keeps: its hover, its fire timer, its knock-back and the
// latch of its shot sound.
struct SentinelKeptState {
  static constexpr UnitKind kKind = kSentinel;
  static constexpr OnRestart kOnRestart = OnRestart::Kept;
  double hoverPhase;
  double hoverAmpX;  // px per ms
  double hoverAmpY;
  double fireTimer;
  double firePeriod;
  double pushTime;    // how long the knock-back still lasts
  uint8_t hoverNear;  // near enough to the player to hover and count down
  uint8_t shotLatch;
};

// What a restart resets of it: the charge shown before a shot, and whether the shot fired last
// has been taken (or ducked), cleared with the fire flag.
struct SentinelPlayState {
  static constexpr UnitKind kKind = kSentinel;
  static constexpr OnRestart kOnRestart = OnRestart::Reset;
  uint8_t charging;
  uint8_t shotTaken;
};

// The guard's own state that a restart keeps: its flight's phase and its cry or death-cry pick.
struct GuardKeptState {
  static constexpr UnitKind kKind = kGuard;
  static constexpr OnRestart kOnRestart = OnRestart::Kept;
  double launchPhase;
  uint8_t soundPick;
};

// What a restart resets of it: its cry's time, whether it flies and its one launch per flight,
// and whether it has swung at least once (only then its swing sound may play).
struct GuardPlayState {
  static constexpr UnitKind kKind = kGuard;
  static constexpr OnRestart kOnRestart = OnRestart::Reset;
  double cryTime;
  uint8_t launched;
  uint8_t launchLock;
  uint8_t swingArmed;
};

// The golem's own state that a restart keeps: its grunts.
struct GolemKeptState {
  static constexpr UnitKind kKind = kGolem;
  static constexpr OnRestart kOnRestart = OnRestart::Kept;
  double idleTime;
  double idlePeriod;
  uint8_t idlePick;
};

// What a restart resets of it: the blow it chose while walking (0: none yet).
struct GolemPlayState {
  static constexpr UnitKind kKind = kGolem;
  static constexpr OnRestart kOnRestart = OnRestart::Reset;
  uint8_t attackVariant;
};

// The player's fourth attack throws a guard (and makes no impact sound).
constexpr uint8_t kLaunchAttack = 4;

// Facing the player: the art faces left, so a unit right of the player looks left.
inline uint8_t LooksLeftAt(const Unit& u, const Unit& player) {
  return u.x > player.x ? 1 : 0;
}

// The direction the player's blow sends a unit: the way the player is looking.
inline int32_t BlowDirection(const Unit& player) {
  return player.facingLeft ? -1 : 1;
}

void UpdateSentinel(Unit& u, const Unit& player, uint8_t playerAttack, double dt);
void UpdateGuard(Unit& u, const Unit& player, uint8_t playerAttack, double dt);
void UpdateGolem(Unit& u, const Unit& player, uint8_t playerAttack, double dt);
// A fallen golem shakes the screen as it lands.
void ShakeForFallenGolem(const LevelFrame& f, Unit& u);
// A shot-down sentinel arms its explosion (deathEffect) in the first moments of its death; its
// effect plays the explosion once it lies on the ground, and disarms it at the explosion's end.
void ArmSentinelExplosion(Unit& u);

// Each kind's blow on the player: the sentinel's shot, the guard's axe, the golem's fists.
void SentinelShoots(Unit& u, Unit& player);
void GuardStrikes(Unit& u, Unit& player);
void GolemStrikes(Unit& u, Unit& player);
// Each kind's sounds in a frame it is processed.
void SentinelSounds(const LevelFrame& f, Unit& u);
void GuardSounds(const LevelFrame& f, Unit& u);
void GolemSounds(const LevelFrame& f, Unit& u);
// What the player's blow at a combo level does to a guard (the third blow of a combo takes its
// head) and to a golem (no stun before the second blow, a bonus from the third).
void GuardTakesBlow(Unit& u, uint8_t comboLevel, int32_t& bonusDamage);
void GolemTakesBlow(Unit& u, uint8_t comboLevel, int32_t& bonusDamage);
// The animation each kind's state shows.
void SelectSentinel(Unit& u);
void SelectGuard(Unit& u);
void SelectGolem(Unit& u);
