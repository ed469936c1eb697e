// The player's sounds (steps, jump, swings, impacts, pain and death), the sound step of each
// processed unit, and the machinery the kinds' own sound steps share.
#include "game/unit_sounds.hpp"

#include <cmath>

#include "audio/sound.hpp"
#include "base/measures.hpp"
#include "base/random.hpp"
#include "game/enemy_kinds.hpp"
#include "game/kinds.hpp"

namespace {
using namespace sound_kit;

// The player's steps after the first are drawn from the first three step sounds.
constexpr int kStepVariants = 3;

void PlayerSwings(const Voice& voice, uint8_t attack, Unit& p, const UnitSounds& s) {
  for (int b = 1; b <= 4; ++b) {
    uint8_t& latch = p.swingLatch[b - 1];
    const SoundHandle swing = Slot(s, player_sound::kSwing1 + b - 1);
    if (attack == b && p.stunned == 0) {
      latch = 1;
      Rewind(swing);
    }
    if (latch) voice.PlayOnce(swing, latch);
  }
}

void PlayerImpact(const Voice& voice, const GamePlay& play, Unit& p, const UnitSounds& s) {
  const SoundHandle steel = Slot(s, player_sound::kImpactSteel);
  const SoundHandle flesh = Slot(s, player_sound::kImpactFlesh);
  // The throw of the fourth attack has no impact sound. The hit flag stays up into the next frame
  // when the struck unit was the last one processed; only the frame of the blow starts the sound.
  const uint8_t attack = play.combo.attackKind;
  if (p.hitNow && attack > 0 && attack != kLaunchAttack) {
    p.impactLatch = 1;
    Rewind(steel);
    Rewind(flesh);
  }
  if (p.impactLatch == 0) return;
  const uint8_t struck = play.lastHitKind;
  if (struck == kSentinel) {
    voice.PlayOnce(steel, p.impactLatch);
  } else if (struck > kSentinel) {
    voice.PlayOnce(flesh, p.impactLatch);
  }
}

}  // namespace

void UpdatePlayerSounds(const LevelFrame& f) {
  Unit& p = f.Player();
  const Voice voice(f);
  const UnitSounds& s = f.assets.SoundsOf(kPlayer);
  GamePlay& play = f.play;
  if (p.moving) {
    const SoundHandle step = Slot(s, play.stepVariant);
    voice.Play(step);
    // Each step after the first is drawn from the first three sounds.
    if (cSND::Ended(step)) {
      cSND::Stop(step);
      play.stepVariant = static_cast<uint8_t>(Random(kStepVariants));
    }
  }
  const SoundHandle jump = Slot(s, player_sound::kJump);
  if (p.jumping) {
    voice.Play(jump);
  } else if (cSND::Ended(jump)) {
    Rewind(jump);
  }
  PlayerSwings(voice, play.combo.attackKind, p, s);
  PlayerImpact(voice, play, p, s);
  const SoundHandle pain = Slot(s, player_sound::kPain);
  if (p.stunned && p.stunTime < kFreshStun) {
    p.painLatch = 1;
    Rewind(pain);
  }
  if (p.painLatch) voice.PlayOnce(pain, p.painLatch);
  if (p.life < 1) voice.Play(Slot(s, player_sound::kDeath));
}

void UpdateUnitSounds(const LevelFrame& f, int i) {
  Unit& u = f.UnitAt(i);
  if (auto sounds = RulesOf(u.kind).sounds) sounds(f, u);
}
