// The sounds units make: steps, swings, impacts, pain, cries, deaths, comments. The player's are
// here; each enemy kind's sound step is in its own file and named by its row in game/kinds.cpp.
#pragma once

#include <cstdint>

#include "audio/sound.hpp"
#include "base/messages.hpp"
#include "base/types.hpp"
#include "content/level_assets.hpp"
#include "game/level_frame.hpp"

struct Unit;

// The slots of each kind's sound table: the level load opens each file into its slot, and the
// sound steps play them by these names.
namespace player_sound {
enum Slot : int {
  kStep1,  // four steps
  kStep2,
  kStep3,
  kStep4,
  kImpactSteel,
  kImpactFlesh,
  kSwing1,  // hit1..hit4 for attacks 1..4
  kSwing2,
  kSwing3,
  kSwing4,
  kJump,
  kPain,
  kDeath,
};
}  // namespace player_sound
namespace sentinel_sound {
enum Slot : int { kAttack, kMoving, kShocked };
}  // namespace sentinel_sound
namespace guard_sound {
enum Slot : int {
  kCry0,  // five cries
  kCry1,
  kCry2,
  kCry3,
  kCry4,
  kPain,
  kHit,
  kHeadOff,  // two, when the head comes off
  kHeadOff2,
  kDeath,  // five deaths with the head on
  kDeath2,
  kDeath3,
  kDeath4,
  kDeath5,
};
constexpr int kCries = kPain - kCry0;
constexpr int kHeadOffs = kDeath - kHeadOff;
constexpr int kDeaths = kDeath5 - kDeath + 1;
}  // namespace guard_sound
namespace golem_sound {
// Slot 0 is left empty.
enum Slot : int { kStep = 1, kIdle, kIdle2, kDie, kShock };
constexpr int kIdles = kDie - kIdle;
}  // namespace golem_sound

void UpdatePlayerSounds(const LevelFrame& f);
void UpdateUnitSounds(const LevelFrame& f, int i);

// What the kinds' sound steps share. One-shot sounds are armed by a latch and a rewind on their
// trigger and played until they end.
namespace sound_kit {
// Triggers that last a while re-arm their sound through this first stretch.
constexpr double kFreshStun = 0.1;
constexpr double kFreshDeath = 0.1;
// The voice comments after a beheading or a full combo.
constexpr int kComments = 3;

// Plays the level's sounds at the frame's volume. Called many times for every processed unit in
// every frame, so it is inline.
class Voice {
 public:
  explicit Voice(const LevelFrame& f) : volume_(f.soundVolume), comments_(f.assets.commentSounds) {}
  void Play(SoundHandle h) const { cSND::Play(h, volume_, false); }
  void PlayLooped(SoundHandle h) const { cSND::Play(h, volume_, true); }
  // Plays until the sound ends, then clears the latch.
  void PlayOnce(SoundHandle h, uint8_t& latch) const { cSND::PlayReport(h, volume_, latch); }
  SoundHandle Comment(int pick) const {
    return At(comments_, static_cast<std::size_t>(pick), "comment sound");
  }

 private:
  uint8_t volume_;
  const decltype(LevelAssets::commentSounds)& comments_;
};

inline void Rewind(SoundHandle h) {
  cSND::SetPosition(h, 0);
}
inline SoundHandle Slot(const UnitSounds& table, int slot) {
  return At(table, static_cast<std::size_t>(slot), "unit sound");
}
}  // namespace sound_kit
