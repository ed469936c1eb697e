// What each kind of unit is to the rest of the game, one row per kind: whether the player's blow
// lands on it, whether its body is in the player's way, what its kill is worth and where it is
// counted, and its behaviour. Kinds a map may name beyond the four (4..9) share one row that
// keeps them still, in the way and worth nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "game/level_frame.hpp"
#include "game/play_state.hpp"

enum class BlowRule {
  Never,      // the player's blow passes through it
  Lands,      // the blow lands from either side
  WhenFaced,  // the blow lands only while the player faces it
};

struct KillPoints {
  int32_t headOn;
  int32_t headOff;
};

struct KindRules {
  BlowRule blow;
  bool blocksPlayer;  // a living body pushes the player back
  KillPoints points;
  int32_t LevelStats::*kills;  // the statistics' kill count, or none: the kill is not scored
  // The behaviour of a frame of `dt` milliseconds, in which the player started attack
  // `playerAttack` (0: none) (none: it stands still).
  void (*update)(Unit& u, const Unit& player, uint8_t playerAttack, double dt);
  // The sounds it makes in the frame (none: silent).
  void (*sounds)(const LevelFrame& f, Unit& u);
  // Its blow on the player in the frame (none: it never strikes).
  void (*strike)(Unit& u, Unit& player);
  // The animation its state shows (none: the animation is left as it is).
  void (*selectAnimation)(Unit& u);
  // Counts a full combo while it is processed, before its sounds comment it (golems).
  void (*countCombo)(GamePlay& play, Unit& u);
  // What it does to the world as its effects are drawn (a fallen golem shakes it).
  void (*shake)(const LevelFrame& f, Unit& u);
  // What the player's blow at a combo level does to it beyond a stun and the damage: whether it
  // is stunned after all, its head, and a bonus to the damage (none: only the stun).
  void (*takesBlow)(Unit& u, uint8_t comboLevel, int32_t& bonusDamage);
};

// The rows of the four kinds in the order of UnitKind, and the row of the unnamed kinds.
extern const std::array<KindRules, 4> kKindRules;
extern const KindRules kUnnamedKindRules;

// Read for every processed unit several times a frame, so it is inline.
inline const KindRules& RulesOf(int32_t kind) {
  if (kind >= 0 && kind < static_cast<int32_t>(kKindRules.size())) {
    return kKindRules[static_cast<std::size_t>(kind)];
  }
  return kUnnamedKindRules;
}
