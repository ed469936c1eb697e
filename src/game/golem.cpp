// The golem: slow; stops 100 px further out than a guard and alternates two heavy blows, the
// next one chosen while it walks. Also its steps, grunts, shock and death sounds, the comment on a
// full combo, its fists' blow on the player, its animation and the shake of its fall.
#include <cmath>

#include "audio/sound.hpp"
#include "base/random.hpp"
#include "game/animation_select.hpp"
#include "game/enemy_kinds.hpp"
#include "game/hits.hpp"
#include "game/screen_shake.hpp"
#include "game/unit_sounds.hpp"

namespace {
using namespace sound_kit;

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

// Its sounds.
// Golem grunts: the first 2 s of each period of 2..6 s (5 s the first time).
constexpr double kGruntLength = 2.0;
constexpr double kFirstIdlePeriod = 5.0;
constexpr int32_t kIdlePeriodSpread = 5;
constexpr double kIdlePeriodLeast = 2;

void GolemGrunts(const LevelFrame& f, const Voice& voice, Unit& u, const UnitSounds& s) {
  GolemKeptState& g = KindStateOf<GolemKeptState>(u);
  if (g.idlePick == 0) g.idlePick = golem_sound::kIdle;
  if (g.idlePeriod == 0) g.idlePeriod = kFirstIdlePeriod;
  if (g.idleTime < g.idlePeriod) {
    g.idleTime += Seconds(f.frameMs);
    if (g.idleTime < kGruntLength) {
      voice.Play(Slot(s, g.idlePick));
    } else {
      cSND::Stop(Slot(s, g.idlePick));
    }
    return;
  }
  g.idleTime = 0;
  g.idlePeriod = Random(kIdlePeriodSpread) + kIdlePeriodLeast;
  cSND::Stop(Slot(s, g.idlePick));
  g.idlePick = static_cast<uint8_t>(Random(golem_sound::kIdles) + golem_sound::kIdle);
}

// A full combo counted this frame is commented once (see CountFullCombo).
void CommentFullCombo(const Voice& voice, Unit& u) {
  if (u.fullComboCounted != 0) {
    u.fullComboCounted = 0;
    Randomize();
    u.commentPick = static_cast<uint8_t>(Random(kComments));
    u.commentLatch = 1;
    Rewind(voice.Comment(u.commentPick));
  }
  if (u.commentLatch) voice.PlayOnce(voice.Comment(u.commentPick), u.commentLatch);
}
}  // namespace

void UpdateGolem(Unit& u, const Unit& player, uint8_t /*playerAttack*/, double dt) {
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
  uint8_t& variant = KindStateOf<GolemPlayState>(u).attackVariant;
  if (u.moving == 1) {
    // The blow is chosen only while walking: a golem that stays in reach repeats its blow, and
    // one that has never walked (variant 0) does not strike at all.
    variant = static_cast<uint8_t>(Random(kBlowVariants) + 1);
    u.attack = 0;
    u.attackTime = 0;
  } else {
    if (u.attackTime < kBlowCycle) {
      u.attackTime += Seconds(dt);
    } else {
      u.attackTime = 0;
    }
    u.attack = variant;
  }
}

void ShakeForFallenGolem(const LevelFrame& f, Unit& u) {
  if (kShakeFrom < u.deathTime && u.deathTime < kShakeTo) u.deathEffect = 1;
  if (u.deathEffect != 0) ShakeScreen(f.play, u.deathEffect, f.frameMs);
}

void GolemSounds(const LevelFrame& f, Unit& u) {
  const Voice voice(f);
  const UnitSounds& s = f.assets.SoundsOf(kGolem);
  if (u.life > 0) {
    const SoundHandle step = Slot(s, golem_sound::kStep);
    if (u.moving == 1) {
      voice.Play(step);
      if (cSND::Ended(step)) Rewind(step);
    }
    GolemGrunts(f, voice, u, s);
    const SoundHandle shock = Slot(s, golem_sound::kShock);
    if (u.stunned && f.play.combo.attackKind > 0) {
      u.shockLatch = 1;
      Rewind(shock);
    }
    if (u.shockLatch) voice.PlayOnce(shock, u.shockLatch);
  } else {
    const SoundHandle die = Slot(s, golem_sound::kDie);
    if (u.deathTime < kFreshDeath) Rewind(die);
    voice.Play(die);
  }
  CommentFullCombo(voice, u);
}

// How long a blow stuns the player, seconds; a crouching player takes a fifth of it, rounded
// toward zero.
constexpr double kSlamStun = 1.1;
constexpr double kCrouchedSlamStun = 0.1;
constexpr double kCrouchedSlamShare = 0.2;

void GolemStrikes(Unit& u, Unit& player) {
  u.hitNow = (u.attack == 1 && Showing(u, kGolemBlow1Frame)) ||
             (u.attack == 2 && Showing(u, kGolemBlow2Frame));
  if (u.hitNow == 0) return;
  EndBlow(u);
  player.stunned = 1;
  // Crouching takes a fifth of the blow and a short stun.
  if (player.crouching == 1) {
    player.life -= static_cast<int32_t>(std::trunc(u.damage * kCrouchedSlamShare));
    player.stunLength = kCrouchedSlamStun;
  } else {
    player.life -= u.damage;
    player.stunLength = kSlamStun;
  }
}

// Its animation rows and its death.
constexpr AnimRow kGolemRows[] = {{When::Idle, 0},    {When::Moving, 1},  {When::Jumping, 2},
                                  {When::Attack1, 4}, {When::Attack2, 5}, {When::Stunned, 10}};
constexpr uint8_t kGolemDead = 17;

void SelectGolem(Unit& u) {
  ShowRowsThenDeath(u, kGolemRows, kGolemDead);
}

// Golems shrug off blows below the second of a combo, and take a bonus from the third.
constexpr uint8_t kStunLevel = 2;
constexpr uint8_t kBonusLevel = 2;
constexpr int32_t kBonus = 2;

void GolemTakesBlow(Unit& u, uint8_t comboLevel, int32_t& bonusDamage) {
  u.stunned = comboLevel < kStunLevel ? 0 : 1;
  bonusDamage = comboLevel > kBonusLevel ? kBonus : 0;
}
