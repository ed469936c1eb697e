// The effects drawn after each processed unit's sprite, chosen by its kind's row: the sentinel's
// bolt and, once shot down, its explosion; the beheaded guard's fountain and the struck guard's
// spray (when blood is shown).
#include "fx/unit_effects.hpp"

#include <array>

#include "fx/explosion.hpp"
#include "fx/lightning.hpp"
#include "game/kinds.hpp"

namespace {
// A beheaded guard bleeds for its first two seconds of death.
constexpr double kFountainSeconds = 2.0;
constexpr double kSprayDepth = -0.2;
// The spray stands this far beside the guard's body box and above its top.
constexpr double kSpraySideways = 30;
constexpr double kSprayRaise = 20;
// A sentinel's death arms its explosion only in its first moments.
constexpr double kSentinelLatchSeconds = 0.05;
constexpr int32_t kExplosionSize = 128;
constexpr double kExplosionDepth = -0.1;

void BloodFountain(const SceneFrame& s, const Unit& u) {
  if (!u.Dead() || u.headOff != 1 || !(u.deathTime < kFountainSeconds)) return;
  const GamePlay& play = s.level.play;
  s.fx.bloodParticles.ParticleDraw(u.x, u.y, play.cameraX, play.cameraY, s.level.frameMs);
}

// Thrown off the side of the guard away from the player when the player faces it.
void BloodSpray(const SceneFrame& s, const Unit& u) {
  if (u.stunned == 0) return;
  cAnim& spray = s.fx.bloodSpray;
  const GamePlay& play = s.level.play;
  if (u.hitNow != 0) spray.current = 0;
  spray.firstFrame = 0;
  spray.frameCount = kSprayFrames;
  spray.playing = 1;
  double sx = 0;
  if (s.level.Player().facingLeft != 0) {
    spray.mirrored = 0;
    sx = play.cameraX + u.x + u.boxLeft - kSpraySideways;
  } else {
    spray.mirrored = 1;
    sx = u.boxRight + u.x + play.cameraX + kSpraySideways;
  }
  const double sy = u.boxTop + u.y + play.cameraY - kSprayRaise;
  spray.Draw(sx, sy, kSprayDepth, s.level.frameMs);
}

// A shot-down sentinel explodes once it lies on the ground.
void SentinelExplosion(const SceneFrame& s, Unit& u) {
  if (!u.Dead()) return;
  if (u.deathTime < kSentinelLatchSeconds) u.deathEffect = 1;
  if (u.airborne != 0 || u.deathEffect == 0) return;
  const GamePlay& play = s.level.play;
  BlowPlay(s.fx.explosion, s.fx.explosionPlayer.anim.get(), kExplosionSize, kExplosionSize,
           u.x + play.cameraX, u.y + play.cameraY, kExplosionDepth, s.level.frameMs,
           s.level.soundVolume, u.deathEffect, u.blowSoundGate);
}

void SentinelEffects(const SceneFrame& s, Unit& u) {
  const LevelFrame& f = s.level;
  const Unit& p = f.Player();
  DrawLightningBolt(s.fx, u.fireNow, p.x, p.y, u.x, u.y, f.play.cameraX, f.play.cameraY, f.frameMs);
  SentinelExplosion(s, u);
}

void GuardEffects(const SceneFrame& s, Unit& u) {
  if (!s.showBlood) return;
  BloodFountain(s, u);
  BloodSpray(s, u);
}

// The effects a kind's row names.
void DrawEffects(UnitEffects effects, const SceneFrame& s, Unit& u) {
  switch (effects) {
    case UnitEffects::None:
      return;
    case UnitEffects::BoltAndExplosion:
      SentinelEffects(s, u);
      return;
    case UnitEffects::Blood:
      GuardEffects(s, u);
      return;
  }
}

}  // namespace

void DrawUnitEffects(const SceneFrame& s, int i) {
  Unit& u = s.level.UnitAt(i);
  DrawEffects(KindOf(u.kind).effects, s, u);
}
