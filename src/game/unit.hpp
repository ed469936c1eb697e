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

struct Unit : CharacterRecord {
  // Runtime head (sentinels).
  uint8_t hoverNear = 0;
  double hoverPhase = 0;
  double fireTimer = 0;
  double firePeriod = 0;

  // Runtime tail.
  std::unique_ptr<cAnim> anim;  // created once at the level load, kept across restarts
  int32_t jumpTime = 0;
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
  double stunLength = 0;
  // Sound latches: the pick and comment choices, three per-unit latches, and the player's own.
  uint8_t soundPick = 0;
  uint8_t commentPick = 0;
  uint8_t latchA = 0;
  uint8_t latchB = 0;
  uint8_t latchC = 0;
  // A golem: a full combo was counted in this frame, for its sounds to comment.
  uint8_t fullComboCounted = 0;
  uint8_t painLatch = 0;
  std::array<uint8_t, 4> swingLatch{};  // attacks 1..4
  uint8_t impactLatch = 0;
  uint8_t swingArmed = 0;  // a guard has swung at least once: its swing sound may play
  uint8_t launchLock = 0;
  int32_t pushDir = 0;
  uint8_t deathEffect = 0;
  uint8_t charging = 0;
  double hoverAmpX = 0;
  double hoverAmpY = 0;  // guards keep their launch phase here
  uint8_t inRange = 0;
  uint8_t animIndex = 0;
  uint8_t hitNow = 0;
  uint8_t activated = 0;
  // Golem grunts; `pushTime` is the sentinel's knock-back time and the golem's idle time.
  uint8_t idlePick = 0;
  double pushTime = 0;
  double idlePeriod = 0;
  // Set when the unit's death has been scored; cleared at the restart.
  uint8_t killScored = 0;
  // Set once the sentinel's shot has been taken (or ducked); cleared with the fire flag.
  uint8_t shotTaken = 0;

  CharacterRecord& Definition() { return *this; }
  bool Dead() const { return life < 1; }
};

using UnitTable = std::array<Unit, kMaxUnits>;
