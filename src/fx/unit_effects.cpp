// The effects of each processed unit, chosen by its kind's row: the sentinel's bolt and, once it
// is shot down and lies on the ground, its explosion; the beheaded guard's fountain and the
// struck guard's spray (when blood is shown). Each row has a step, which advances the effects'
// own state, and a show, which draws what the step left and changes nothing.
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
constexpr int32_t kExplosionSize = 128;
constexpr double kExplosionDepth = -0.1;

bool Bleeds(const Unit& u) {
  return u.Dead() && u.headOff == 1 && u.deathTime < kFountainSeconds;
}

void StepBloodFountain(const SceneFrame& s, const Unit& u) {
  if (!Bleeds(u)) return;
  const GamePlay& play = s.level.play;
  s.fx.bloodParticles.ParticleStep(u.x, u.y, play.cameraX, play.cameraY, s.level.frameMs);
}

void ShowBloodFountain(const SceneFrame& s, const Unit& u) {
  if (Bleeds(u)) s.fx.bloodParticles.ParticleShow();
}

// Thrown off the side of the guard away from the player when the player faces it.
void StepBloodSpray(const SceneFrame& s, const Unit& u) {
  if (u.stunned == 0) return;
  cAnim& spray = s.fx.bloodSpray;
  if (u.hitNow != 0) spray.current = 0;
  spray.firstFrame = 0;
  spray.frameCount = kSprayFrames;
  spray.playing = 1;
  spray.mirrored = s.level.Player().facingLeft != 0 ? 0 : 1;
  spray.Advance(s.level.frameMs);
}

void ShowBloodSpray(const SceneFrame& s, const Unit& u) {
  if (u.stunned == 0) return;
  const GamePlay& play = s.level.play;
  const double sx = s.level.Player().facingLeft != 0
                        ? play.cameraX + u.x + u.boxLeft - kSpraySideways
                        : u.boxRight + u.x + play.cameraX + kSpraySideways;
  const double sy = u.boxTop + u.y + play.cameraY - kSprayRaise;
  s.fx.bloodSpray.Show(sx, sy, kSprayDepth);
}

// A shot-down sentinel explodes once it lies on the ground, while its death effect is armed (the
// sentinel's rules arm it). The explosion's end disarms it: that depends on the explosion's own
// pictures, so it stays here, as does the gate of the explosion's sound.
void StepSentinelExplosion(const SceneFrame& s, Unit& u) {
  ExplosionPlayer& player = s.fx.explosionPlayer;
  player.shown.reset();
  if (!u.Dead() || u.airborne != 0 || u.deathEffect == 0) return;
  BlowStep(s.fx.explosion, player, s.level.frameMs, s.level.soundVolume, u.deathEffect,
           u.blowSoundGate);
}

void SentinelStep(const SceneFrame& s, Unit& u) {
  const Unit& p = s.level.Player();
  StepLightningBolt(s.fx, u.fireNow, p.x, p.y, u.x, u.y, s.level.frameMs);
  StepSentinelExplosion(s, u);
}

void SentinelShow(const SceneFrame& s, const Unit& u) {
  const GamePlay& play = s.level.play;
  ShowLightningBolt(s.fx, play.cameraX, play.cameraY);
  BlowShow(s.fx.explosionPlayer, kExplosionSize, kExplosionSize, u.x + play.cameraX,
           u.y + play.cameraY, kExplosionDepth);
}

void GuardStep(const SceneFrame& s, Unit& u) {
  if (!s.showBlood) return;
  StepBloodFountain(s, u);
  StepBloodSpray(s, u);
}

void GuardShow(const SceneFrame& s, const Unit& u) {
  if (!s.showBlood) return;
  ShowBloodFountain(s, u);
  ShowBloodSpray(s, u);
}

// The effects a kind's row names: the step, then the show.
void StepEffects(UnitEffects effects, const SceneFrame& s, Unit& u) {
  switch (effects) {
    case UnitEffects::None:
      return;
    case UnitEffects::BoltAndExplosion:
      SentinelStep(s, u);
      return;
    case UnitEffects::Blood:
      GuardStep(s, u);
      return;
  }
}

void ShowEffects(UnitEffects effects, const SceneFrame& s, const Unit& u) {
  switch (effects) {
    case UnitEffects::None:
      return;
    case UnitEffects::BoltAndExplosion:
      SentinelShow(s, u);
      return;
    case UnitEffects::Blood:
      GuardShow(s, u);
      return;
  }
}

}  // namespace

void StepUnitEffects(const SceneFrame& s, Unit& u) {
  StepEffects(KindOf(u.kind).effects, s, u);
}

void ShowUnitEffects(const SceneFrame& s, const Unit& u) {
  ShowEffects(KindOf(u.kind).effects, s, u);
}
