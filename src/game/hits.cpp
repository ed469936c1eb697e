// Blows both ways: the player's lands in the frame an attack starts, on an enemy in reach (facing
// it where its kind's row says so); an enemy's, in its kind's own file, lands on the exact picture
// of its strike. Damage, stun, decapitation, the combo bonus on golems, and the player's stun and
// death timers.
#include "game/hits.hpp"

#include <cmath>

#include "base/measures.hpp"
#include "game/kinds.hpp"

namespace {

// The enemy's box is widened by this much for the melee test.
constexpr double kReachSide = 10;
constexpr double kReachUpDown = 5;

constexpr double kPlayerDeathLength = 3.0;

bool Faces(const Unit& player, const Unit& u) {
  return (player.facingLeft == 1 && player.x > u.x) || (player.facingLeft == 0 && player.x < u.x);
}

// Whether the attack started this frame lands on unit i.
bool PlayerBlowLands(uint8_t attack, const Unit& player, const Unit& u) {
  const bool lands = InMeleeReach(player, u) && player.stunned == 0 && attack > 0;
  switch (RulesOf(u.kind).blow) {
    case BlowRule::Never:
      return false;
    case BlowRule::Lands:
      return lands;
    case BlowRule::WhenFaced:
      return lands && Faces(player, u);
  }
  return false;
}

void ApplyPlayerBlow(GamePlay& play, const Unit& player, Unit& u) {
  const uint8_t level = play.combo.comboLevel;
  play.lastHitKind = static_cast<uint8_t>(u.kind);
  // Every blow stuns and does the player's damage, unless the kind's row says what a blow at this
  // combo level does to it (a guard loses its head, a golem shrugs off lone blows).
  u.stunned = 1;
  play.bonusDamage = 0;
  if (auto takes = RulesOf(u.kind).takesBlow) takes(u, level, play.bonusDamage);
  const uint8_t attack = play.combo.attackKind;
  if (attack >= 1 && attack <= 4) u.life -= player.damage + play.bonusDamage;
}

// Runs once per processed enemy, so several enemies in range wear the stun off that much faster.
void WearOffPlayerStun(Unit& player, double dt) {
  if (player.stunned != 1) return;
  if (player.stunTime < player.stunLength) {
    player.stunTime += Seconds(dt);
  } else {
    player.stunTime = 0;
    player.stunned = 0;
  }
}

}  // namespace

bool Showing(const Unit& u, uint16_t picture) {
  return u.anim && u.anim->current == picture;
}

// A blow that landed starts the strike's animation over and ends the attack.
void EndBlow(Unit& u) {
  if (u.anim)
    u.anim->current = static_cast<uint16_t>(At(u.anims, u.animIndex, "animation").firstFrame);
  u.attack = 0;
}

bool InMeleeReach(const Unit& p, const Unit& u) {
  return u.x + u.boxLeft - kReachSide < p.x + p.boxRight &&
         u.x + u.boxRight + kReachSide > p.x + p.boxLeft &&
         u.y + u.boxTop - kReachUpDown < p.y + p.boxBottom &&
         u.y + u.boxBottom + kReachUpDown > p.y + p.boxTop;
}

void PlayerHitsUnit(const LevelFrame& f, int i) {
  Unit& player = f.Player();
  Unit& u = f.UnitAt(i);
  const double dt = f.frameMs;
  if (i != 0) {
    player.hitNow = PlayerBlowLands(f.play.combo.attackKind, player, u) ? 1 : 0;
    if (player.hitNow == 1) ApplyPlayerBlow(f.play, player, u);
    // The enemy's blow of the previous frame stuns the player now.
    if (u.hitNow == 1) {
      player.stunned = 1;
      player.stunTime = 0;
    }
    WearOffPlayerStun(player, dt);
  }
  // Also once per processed unit; after 3 s the unit being processed is marked done, the player
  // first of all.
  if (player.life < 1) {
    if (player.deathTime < kPlayerDeathLength) {
      player.deathTime += Seconds(dt);
    } else {
      u.deathDone = 1;
    }
  }
}

void UnitHitsPlayer(const LevelFrame& f, int i) {
  Unit& u = f.UnitAt(i);
  if (auto strike = RulesOf(u.kind).strike) strike(u, f.Player());
}
