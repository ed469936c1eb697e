// The unit record and the unit table: slot 0 is always the player, the enemies follow in the
// order of the level file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>

#include "base/unit_kinds.hpp"
#include "formats/character_record.hpp"
#include "gfx/anim.hpp"

constexpr int kMaxUnits = 256;

// Indices into a unit's animation table (`anims`).
constexpr int kAnimCount = 19;

// The definition block (kind, position, body box, speed, life, damage, collision mode and the
// animation table) is the character record itself, so a definition is copied over a unit whole.
static_assert(sizeof(CharacterRecord) == kCharacterRecordSize,
              "the definition block must be the 408 bytes of the definition file");

// A kind's own state (its timers, picks and latches that no other code reads) is declared with
// the kind and lives in one of two blocks of bytes every unit has, which name no kind: the kept
// block, which a restart of the level keeps, and the play block, which the restart puts back to
// zero with the rest of the play state. Both start as zero bytes, so a kind's state reads zero
// until its rules write it. A unit holds the state of its own kind only.
enum class OnRestart { Kept, Reset };
constexpr std::size_t kKindKeptBytes = 64;
constexpr std::size_t kKindPlayBytes = 32;
constexpr std::size_t kKindStateAlign = alignof(double);
template <std::size_t N>
using KindStateBlock = std::array<std::byte, N>;

// What a restart of the level puts back to zero: how the unit moves, attacks, reels and dies,
// whether it is awake and near, and the latches that belong to one life.
struct UnitPlayState {
  uint8_t airborne = 0;
  uint8_t fireNow = 0;
  uint8_t idle = 0;
  uint8_t moving = 0;
  uint8_t jumping = 0;
  uint8_t facingLeft = 0;
  uint8_t attack = 0;
  uint8_t deathDone = 0;
  uint8_t stunned = 0;
  uint8_t crouching = 0;
  double deathTime = 0;
  double stunTime = 0;
  double attackTime = 0;
  double blowSoundGate = 0;
  uint8_t headOff = 0;
  uint8_t deathEffect = 0;
  uint8_t inRange = 0;
  uint8_t activated = 0;
  uint8_t hitNow = 0;
  uint8_t animIndex = 0;
  // Set when the unit's death has been scored.
  uint8_t killScored = 0;
  // A golem: a full combo was counted in this frame, for its sounds to comment.
  uint8_t fullComboCounted = 0;
  // An enemy that fell out of the bottom of the map: no longer processed or drawn.
  uint8_t fellOut = 0;
  // The part of its kind's own state that a restart resets.
  alignas(kKindStateAlign) KindStateBlock<kKindPlayBytes> kindPlay{};
};

// What a unit keeps across a restart, as it always has: its animation, the jump time, the stun
// length, its sound picks and latches, and the kept part of its kind's own state.
struct UnitKeptState {
  std::unique_ptr<cAnim> anim;  // created once at the level load
  int32_t jumpTime = 0;
  double stunLength = 0;
  // Sound picks and latches (a latch holds a sound on until it has played once): the shock of a
  // sentinel or golem, the pain of the player or a guard, the voice comment after a guard's
  // beheading or a golem's full combo.
  uint8_t commentPick = 0;
  uint8_t shockLatch = 0;
  uint8_t commentLatch = 0;
  uint8_t painLatch = 0;
  std::array<uint8_t, 4> swingLatch{};  // attacks 1..4
  uint8_t impactLatch = 0;
  int32_t pushDir = 0;  // where the player's blow sends a sentinel or a thrown guard
  // The part of its kind's own state that a restart keeps.
  alignas(kKindStateAlign) KindStateBlock<kKindKeptBytes> kindKept{};
};

struct Unit : CharacterRecord, UnitKeptState, UnitPlayState {
  CharacterRecord& Definition() { return *this; }
  UnitPlayState& PlayState() { return *this; }
  bool Dead() const { return life < 1; }
};

using UnitTable = std::array<Unit, kMaxUnits>;

// The block of unit `u` that holds a kind's state S: kept or play, as S says.
template <class S, class U>
auto& KindStateBlockOf(U& u) {
  static_assert(std::is_trivial_v<S> && std::is_standard_layout_v<S>,
                "a kind's state is plain bytes that start as zero");
  static_assert(alignof(S) <= kKindStateAlign, "a kind's state must fit the blocks' alignment");
  if constexpr (S::kOnRestart == OnRestart::Kept) {
    static_assert(sizeof(S) <= kKindKeptBytes, "a kind's kept state must fit the kept block");
    return u.kindKept;
  } else {
    static_assert(sizeof(S) <= kKindPlayBytes, "a kind's play state must fit the play block");
    return u.kindPlay;
  }
}

// The state S of the unit's kind (declared with the kind: S::kKind, S::kOnRestart).
template <class S>
S& KindStateOf(Unit& u) {
  return *std::launder(reinterpret_cast<S*>(KindStateBlockOf<S>(u).data()));
}
template <class S>
const S& KindStateOf(const Unit& u) {
  return *std::launder(reinterpret_cast<const S*>(KindStateBlockOf<S>(u).data()));
}
