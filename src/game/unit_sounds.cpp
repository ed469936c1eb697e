// The sounds units make: the player's steps, jump, swings, impacts, pain and death; the sentinel's
// hum, shock and shot; the guard's cry, pain, strike, death and the comment after a beheading; the
// golem's steps, grunts, shock and death, and the comment on a seven-hit combo. One-shot sounds
// are armed by a latch and a rewind on their trigger and played until they end.
#include "game/unit_sounds.hpp"

#include <cmath>

#include "app/random.hpp"
#include "audio/sound.hpp"
#include "base/measures.hpp"
#include "game/units.hpp"

namespace {

constexpr int kComments = 3;

// The player's steps after the first are drawn from the first three step sounds.
constexpr int kStepVariants = 3;
// Triggers that last a while re-arm their sound through this first stretch.
constexpr double kFreshStun = 0.1;
constexpr double kFreshDeath = 0.1;
constexpr double kCryLength = 2.0;
constexpr double kCryDistance = 400;
// The guard's swing sounds 0.2 s into each strike.
constexpr double kSwingFrom = 0.2;
constexpr double kSwingUntil = 0.25;
// The comment follows a beheading half a second later; its choice is made in the first 0.05 s.
constexpr double kCommentChoice = 0.05;
constexpr double kCommentFrom = 0.5;
constexpr double kCommentUntil = 0.55;
// Golem grunts: the first 2 s of each period of 2..6 s (5 s the first time).
constexpr double kGruntLength = 2.0;
constexpr double kFirstIdlePeriod = 5.0;
constexpr int32_t kIdlePeriodSpread = 5;
constexpr double kIdlePeriodLeast = 2;
constexpr uint8_t kLaunchAttack = 4;

uint8_t Volume() {
  return gameState.settings.soundVolume;
}
void Play(SoundHandle h) {
  cSND::Play(h, Volume(), false);
}
void PlayLooped(SoundHandle h) {
  cSND::Play(h, Volume(), true);
}
// Plays until the sound ends, then clears the latch.
void PlayOnce(SoundHandle h, uint8_t& latch) {
  cSND::PlayReport(h, Volume(), latch);
}
void Rewind(SoundHandle h) {
  cSND::SetPosition(h, 0);
}
SoundHandle Comment(int pick) {
  return At(gameState.level.commentSounds, static_cast<std::size_t>(pick), "comment sound");
}
SoundHandle Slot(const UnitSounds& table, int slot) {
  return At(table, static_cast<std::size_t>(slot), "unit sound");
}

void PlayerSwings(Unit& p, const UnitSounds& s) {
  for (int b = 1; b <= 4; ++b) {
    uint8_t& latch = p.swingLatch[b - 1];
    const SoundHandle swing = Slot(s, player_sound::kSwing1 + b - 1);
    if (gameState.play.combo.attackKind == b && p.stunned == 0) {
      latch = 1;
      Rewind(swing);
    }
    if (latch) PlayOnce(swing, latch);
  }
}

void PlayerImpact(Unit& p, const UnitSounds& s) {
  const SoundHandle steel = Slot(s, player_sound::kImpactSteel);
  const SoundHandle flesh = Slot(s, player_sound::kImpactFlesh);
  // The throw of the fourth attack has no impact sound. The hit flag stays up into the next frame
  // when the struck unit was the last one processed; only the frame of the blow starts the sound.
  const uint8_t attack = gameState.play.combo.attackKind;
  if (p.hitNow && attack > 0 && attack != kLaunchAttack) {
    p.impactLatch = 1;
    Rewind(steel);
    Rewind(flesh);
  }
  if (p.impactLatch == 0) return;
  const uint8_t struck = gameState.play.lastHitKind;
  if (struck == kSentinel) {
    PlayOnce(steel, p.impactLatch);
  } else if (struck > kSentinel) {
    PlayOnce(flesh, p.impactLatch);
  }
}

void SentinelSounds(Unit& u) {
  if (u.life <= 0) return;
  const UnitSounds& s = gameState.level.sentinelSounds;
  PlayLooped(Slot(s, sentinel_sound::kMoving));
  if (u.stunned && u.stunTime < kFreshStun) {
    u.shockLatch = 1;
    Rewind(Slot(s, sentinel_sound::kShocked));
  }
  if (u.shockLatch) PlayOnce(Slot(s, sentinel_sound::kShocked), u.shockLatch);
  if (u.fireNow) {
    u.shotLatch = 1;
    Rewind(Slot(s, sentinel_sound::kAttack));
  }
  if (u.shotLatch) PlayOnce(Slot(s, sentinel_sound::kAttack), u.shotLatch);
}

// The cry timer is never reset in a level, so each guard cries once, when it first walks near.
void GuardCries(Unit& u, const UnitSounds& s) {
  const Unit& p = PlayerUnit();
  if (!(u.moving && u.cryTime < kCryLength && std::abs(p.x - u.x) < kCryDistance)) return;
  if (u.cryTime == 0) {
    u.soundPick = static_cast<uint8_t>(Random(guard_sound::kCries));
    Rewind(Slot(s, u.soundPick));
  }
  u.cryTime += Seconds(FrameMs());
  Play(Slot(s, u.soundPick));
}

void GuardDies(Unit& u, const UnitSounds& s) {
  if (u.headOff == 0) {
    if (u.deathTime == 0) {
      Randomize();
      u.soundPick = static_cast<uint8_t>(Random(guard_sound::kDeaths) + guard_sound::kDeath);
      Rewind(Slot(s, u.soundPick));
    }
  } else if (u.deathTime == 0) {
    // One of the two cries, chosen once: drawn again in later frames, both would sound at once.
    u.soundPick = static_cast<uint8_t>(Random(guard_sound::kHeadOffs) + guard_sound::kHeadOff);
    Rewind(Slot(s, u.soundPick));
  }
  Play(Slot(s, u.soundPick));
}

// A voice comment half a second after a beheading.
void GuardComment(Unit& u) {
  if (u.Dead() && u.deathTime < kCommentChoice) {
    Randomize();
    u.commentPick = static_cast<uint8_t>(Random(kComments));
  }
  if (u.Dead() && kCommentFrom < u.deathTime && u.deathTime < kCommentUntil && u.headOff == 1) {
    u.commentLatch = 1;
    Rewind(Comment(u.commentPick));
  }
  if (u.commentLatch) PlayOnce(Comment(u.commentPick), u.commentLatch);
}

void GuardSounds(Unit& u) {
  if (u.deathDone != 0) return;
  const UnitSounds& s = gameState.level.guardSounds;
  GuardCries(u, s);
  const SoundHandle pain = Slot(s, guard_sound::kPain);
  if (gameState.play.combo.attackKind == kLaunchAttack && u.stunned && u.launchLock == 0) {
    u.painLatch = 1;
    Rewind(pain);
  }
  if (u.painLatch) PlayOnce(pain, u.painLatch);
  // Held at its start through a stretch of each strike cycle, so it sounds once per strike; a
  // guard that has not yet swung leaves it alone, or it would sound the first time it is near.
  const SoundHandle hit = Slot(s, guard_sound::kHit);
  if (u.attack == 1 && kSwingFrom < u.attackTime && u.attackTime < kSwingUntil) {
    u.swingArmed = 1;
    Rewind(hit);
  } else if (u.swingArmed) {
    Play(hit);
  }
  if (u.Dead()) GuardDies(u, s);
  GuardComment(u);
}

void GolemGrunts(Unit& u, const UnitSounds& s) {
  double& idleTime = u.idleTime;
  if (u.idlePick == 0) u.idlePick = golem_sound::kIdle;
  if (u.idlePeriod == 0) u.idlePeriod = kFirstIdlePeriod;
  if (idleTime < u.idlePeriod) {
    idleTime += Seconds(FrameMs());
    if (idleTime < kGruntLength) {
      Play(Slot(s, u.idlePick));
    } else {
      cSND::Stop(Slot(s, u.idlePick));
    }
    return;
  }
  idleTime = 0;
  u.idlePeriod = Random(kIdlePeriodSpread) + kIdlePeriodLeast;
  cSND::Stop(Slot(s, u.idlePick));
  u.idlePick = static_cast<uint8_t>(Random(golem_sound::kIdles) + golem_sound::kIdle);
}

// A full combo counted this frame is commented once (see CountFullCombo).
void CommentFullCombo(Unit& u) {
  if (u.fullComboCounted != 0) {
    u.fullComboCounted = 0;
    Randomize();
    u.commentPick = static_cast<uint8_t>(Random(kComments));
    u.commentLatch = 1;
    Rewind(Comment(u.commentPick));
  }
  if (u.commentLatch) PlayOnce(Comment(u.commentPick), u.commentLatch);
}

void GolemSounds(Unit& u) {
  const UnitSounds& s = gameState.level.golemSounds;
  if (u.life > 0) {
    const SoundHandle step = Slot(s, golem_sound::kStep);
    if (u.moving == 1) {
      Play(step);
      if (cSND::Ended(step)) Rewind(step);
    }
    GolemGrunts(u, s);
    const SoundHandle shock = Slot(s, golem_sound::kShock);
    if (u.stunned && gameState.play.combo.attackKind > 0) {
      u.shockLatch = 1;
      Rewind(shock);
    }
    if (u.shockLatch) PlayOnce(shock, u.shockLatch);
  } else {
    const SoundHandle die = Slot(s, golem_sound::kDie);
    if (u.deathTime < kFreshDeath) Rewind(die);
    Play(die);
  }
  CommentFullCombo(u);
}

}  // namespace

void UpdatePlayerSounds() {
  Unit& p = PlayerUnit();
  const UnitSounds& s = gameState.level.playerSounds;
  GamePlay& play = gameState.play;
  if (p.moving) {
    const SoundHandle step = Slot(s, play.stepVariant);
    Play(step);
    // Each step after the first is drawn from the first three sounds.
    if (cSND::Ended(step)) {
      cSND::Stop(step);
      play.stepVariant = static_cast<uint8_t>(Random(kStepVariants));
    }
  }
  const SoundHandle jump = Slot(s, player_sound::kJump);
  if (p.jumping) {
    Play(jump);
  } else if (cSND::Ended(jump)) {
    Rewind(jump);
  }
  PlayerSwings(p, s);
  PlayerImpact(p, s);
  const SoundHandle pain = Slot(s, player_sound::kPain);
  if (p.stunned && p.stunTime < kFreshStun) {
    p.painLatch = 1;
    Rewind(pain);
  }
  if (p.painLatch) PlayOnce(pain, p.painLatch);
  if (p.life < 1) Play(Slot(s, player_sound::kDeath));
}

void UpdateUnitSounds(int i) {
  Unit& u = UnitAt(i);
  switch (static_cast<UnitKind>(u.kind)) {
    case kPlayer:
      break;
    case kSentinel:
      SentinelSounds(u);
      break;
    case kGuard:
      GuardSounds(u);
      break;
    case kGolem:
      GolemSounds(u);
      break;
  }
}
