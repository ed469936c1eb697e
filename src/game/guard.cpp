// The guard: walks up to the player until the bodies touch and strikes every 0.77 s; the player's
// fourth attack throws it through the air. Also its cries, pain, swing and death sounds, its axe's
// blow on the player and the animation its state shows.
#include <cmath>

#include "audio/sound.hpp"
#include "base/random.hpp"
#include "game/animation_select.hpp"
#include "game/enemy_kinds.hpp"
#include "game/hits.hpp"
#include "game/unit_sounds.hpp"

namespace {
using namespace sound_kit;

constexpr double kStunLength = 0.8;
constexpr double kDeathLength = 5.0;
constexpr double kStrikeCycle = 0.77;
// The strike reaches this far beyond the two bodies.
constexpr double kStrikeReach = 5;
// A guard is thrown (kLaunchAttack) only until it has lain dead this long.
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

void Fly(Unit& u, const Unit& player, uint8_t playerAttack, double dt) {
  double& phase = KindStateOf<GuardKeptState>(u).launchPhase;
  GuardPlayState& g = KindStateOf<GuardPlayState>(u);
  // The player's blow must land on this guard in this very frame; the lock keeps it to one
  // launch per flight.
  if (playerAttack == kLaunchAttack && player.hitNow == 1 && g.launchLock == 0 &&
      u.deathTime < kLaunchTooLate) {
    u.pushDir = BlowDirection(player);
    g.launched = 1;
    phase = kLaunchPhaseStart;
  }
  if (g.launched != 1) return;
  if (phase == kLaunchPhaseStart) g.launchLock = 1;
  // The landing frame still moves.
  if (phase > kLaunchPhaseEnd) {
    g.launched = 0;
    g.launchLock = 0;
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

// Its sounds.
constexpr double kCryLength = 2.0;
constexpr double kCryDistance = 400;
// The guard's swing sounds 0.2 s into each strike.
constexpr double kSwingFrom = 0.2;
constexpr double kSwingUntil = 0.25;
// The comment follows a beheading half a second later; its choice is made in the first 0.05 s.
constexpr double kCommentChoice = 0.05;
constexpr double kCommentFrom = 0.5;
constexpr double kCommentUntil = 0.55;

// The cry timer is never reset in a level, so each guard cries once, when it first walks near.
void GuardCries(const LevelFrame& f, const Voice& voice, Unit& u, const UnitSounds& s) {
  const Unit& p = f.Player();
  double& cryTime = KindStateOf<GuardPlayState>(u).cryTime;
  if (!(u.moving && cryTime < kCryLength && std::abs(p.x - u.x) < kCryDistance)) return;
  uint8_t& pick = KindStateOf<GuardKeptState>(u).soundPick;
  if (cryTime == 0) {
    pick = static_cast<uint8_t>(Random(guard_sound::kCries));
    Rewind(Slot(s, pick));
  }
  cryTime += Seconds(f.frameMs);
  voice.Play(Slot(s, pick));
}

void GuardDies(const Voice& voice, Unit& u, const UnitSounds& s) {
  uint8_t& pick = KindStateOf<GuardKeptState>(u).soundPick;
  if (u.headOff == 0) {
    if (u.deathTime == 0) {
      Randomize();
      pick = static_cast<uint8_t>(Random(guard_sound::kDeaths) + guard_sound::kDeath);
      Rewind(Slot(s, pick));
    }
  } else if (u.deathTime == 0) {
    // One of the two cries, chosen once: drawn again in later frames, both would sound at once.
    pick = static_cast<uint8_t>(Random(guard_sound::kHeadOffs) + guard_sound::kHeadOff);
    Rewind(Slot(s, pick));
  }
  voice.Play(Slot(s, pick));
}

// A voice comment half a second after a beheading.
void GuardComment(const Voice& voice, Unit& u) {
  if (u.Dead() && u.deathTime < kCommentChoice) {
    Randomize();
    u.commentPick = static_cast<uint8_t>(Random(kComments));
  }
  if (u.Dead() && kCommentFrom < u.deathTime && u.deathTime < kCommentUntil && u.headOff == 1) {
    u.commentLatch = 1;
    Rewind(voice.Comment(u.commentPick));
  }
  if (u.commentLatch) voice.PlayOnce(voice.Comment(u.commentPick), u.commentLatch);
}
}  // namespace

void UpdateGuard(Unit& u, const Unit& player, uint8_t playerAttack, double dt) {
  const bool finished = u.life <= 0 && u.deathDone == 1;
  if (!finished) {
    WearOffStun(u, dt);
    // A body that has not lain dead long can still be thrown.
    Fly(u, player, playerAttack, dt);
    if (u.life > 0) u.facingLeft = LooksLeftAt(u, player);
    if (u.stunned != 1 && u.life > 0) {
      u.moving = Approach(u, player, dt) ? 1 : 0;
      if (u.moving == 1) u.attackTime = 0;
      Strike(u, player, dt);
    }
  }
  Die(u, dt);
}

void GuardSounds(const LevelFrame& f, Unit& u) {
  if (u.deathDone != 0) return;
  const Voice voice(f);
  const UnitSounds& s = f.assets.SoundsOf(kGuard);
  GuardCries(f, voice, u, s);
  GuardPlayState& g = KindStateOf<GuardPlayState>(u);
  const SoundHandle pain = Slot(s, guard_sound::kPain);
  if (f.play.combo.attackKind == kLaunchAttack && u.stunned && g.launchLock == 0) {
    u.painLatch = 1;
    Rewind(pain);
  }
  if (u.painLatch) voice.PlayOnce(pain, u.painLatch);
  // Held at its start through a stretch of each strike cycle, so it sounds once per strike; a
  // guard that has not yet swung leaves it alone, or it would sound the first time it is near.
  const SoundHandle hit = Slot(s, guard_sound::kHit);
  if (u.attack == 1 && kSwingFrom < u.attackTime && u.attackTime < kSwingUntil) {
    g.swingArmed = 1;
    Rewind(hit);
  } else if (g.swingArmed) {
    voice.Play(hit);
  }
  if (u.Dead()) GuardDies(voice, u, s);
  GuardComment(voice, u);
}

// How long the strike stuns the player, seconds.
constexpr double kStrikeStun = 0.7;

void GuardStrikes(Unit& u, Unit& player) {
  u.hitNow = u.attack == 1 && Showing(u, kGuardStrikeFrame);
  if (u.hitNow == 0) return;
  EndBlow(u);
  // The axe goes over a crouching player, who still reels from it next frame.
  if (player.crouching == 1) return;
  player.life -= u.damage;
  player.stunLength = kStrikeStun;
}

// Its animation rows, and its death: a beheaded or beaten guard lies still on its first death
// picture for 2 s, then plays the death animation once.
constexpr AnimRow kGuardRows[] = {{When::Idle, 0},
                                  {When::Moving, 1},
                                  {When::Jumping, 2},
                                  {When::Attack1, 4},
                                  {When::Stunned, 11}};
constexpr uint8_t kGuardDead = 10;
constexpr double kGuardDeathHold = 2.0;
constexpr double kGuardDeathPlay = 2.1;

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

// Exactly the third blow of a combo beheads.
constexpr uint8_t kBeheadLevel = 3;

void GuardTakesBlow(Unit& u, uint8_t comboLevel, int32_t& /*bonusDamage*/) {
  if (comboLevel != kBeheadLevel) return;
  u.headOff = 1;
  u.life = 0;
}
