// The sounds units make: steps, swings, impacts, pain, cries, deaths, comments.
#pragma once

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

void UpdatePlayerSounds();
void UpdateUnitSounds(int i);
