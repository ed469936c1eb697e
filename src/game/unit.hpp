// The unit record and the unit table: slot 0 is always the player, the enemies follow in the
// order of the level file.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

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
  uint8_t launched = 0;
  double deathTime = 0;
  double stunTime = 0;
  double attackTime = 0;
  double cryTime = 0;
  double blowSoundGate = 0;
  uint8_t headOff = 0;
  uint8_t attackVariant = 0;
  uint8_t launchLock = 0;
  uint8_t deathEffect = 0;
  uint8_t charging = 0;
  uint8_t inRange = 0;
  uint8_t activated = 0;
  uint8_t hitNow = 0;
  uint8_t animIndex = 0;
  // Set when the unit's death has been scored.
  uint8_t killScored = 0;
  // Set once the sentinel's shot has been taken (or ducked); cleared with the fire flag.
  uint8_t shotTaken = 0;
  uint8_t swingArmed = 0;  // a guard has swung at least once: its swing sound may play
  // A golem: a full combo was counted in this frame, for its sounds to comment.
  uint8_t fullComboCounted = 0;
  // An enemy that fell out of the bottom of the map: no longer processed or drawn.
  uint8_t fellOut = 0;
};

// What a unit keeps across a restart, as it always has: its animation, a sentinel's hover and
// fire timer, the jump time, the stun length, and its sound picks and latches.
struct UnitKeptState {
  uint8_t hoverNear = 0;
  double hoverPhase = 0;
  double fireTimer = 0;
  double firePeriod = 0;
  std::unique_ptr<cAnim> anim;  // created once at the level load
  int32_t jumpTime = 0;
  double stunLength = 0;
  // Sound picks and latches (a latch holds a sound on until it has played once): the sentinel's
  // shot, the shock of a sentinel or golem, the pain of the player or a guard, the voice comment
  // after a guard's beheading or a golem's full combo.
  uint8_t soundPick = 0;
  uint8_t commentPick = 0;
  uint8_t shotLatch = 0;
  uint8_t shockLatch = 0;
  uint8_t commentLatch = 0;
  uint8_t painLatch = 0;
  std::array<uint8_t, 4> swingLatch{};  // attacks 1..4
  uint8_t impactLatch = 0;
  int32_t pushDir = 0;
  double hoverAmpX = 0;
  double hoverAmpY = 0;
  double launchPhase = 0;  // a launched guard's flight
  double pushTime = 0;     // a sentinel's knock-back
  // Golem grunts.
  uint8_t idlePick = 0;
  double idleTime = 0;
  double idlePeriod = 0;
};

struct Unit : CharacterRecord, UnitKeptState, UnitPlayState {
  CharacterRecord& Definition() { return *this; }
  UnitPlayState& PlayState() { return *this; }
  bool Dead() const { return life < 1; }
};

using UnitTable = std::array<Unit, kMaxUnits>;
