// The registry of kinds: one row per kind of character a level may place, holding everything the
// kind is to the program. The level source names kinds by its words, the editor places them by
// its keys and draws their outlines, the placement checks and the statistics screen follow it, the
// level load reads its files, the rules run its hooks and the effects its effects; the content
// checker and the content generator read it too. Kinds a map may name beyond the rows (up to 9)
// share one row that keeps them still, in the way and worth nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

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

// The behaviour, one hook per step of the frame that treats kinds apart (none: the step leaves
// the kind alone).
struct KindRules {
  BlowRule blow;
  bool blocksPlayer;  // a living body pushes the player back
  KillPoints points;
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
  // What it does, just before its effects step, to the unit state they read (a shot-down
  // sentinel arms its explosion).
  void (*armEffects)(Unit& u);
};

// The effects drawn after a unit of the kind.
enum class UnitEffects : uint8_t {
  None,
  BoltAndExplosion,  // the sentinel's lightning bolt, and its explosion once shot down
  Blood,             // the beheaded guard's fountain and the struck guard's spray
};

// A sound file of the kind and the slot of its table the rules play it by.
struct SoundFile {
  int slot;
  const char* path;
};

// A body around the unit's reference point, px, as a definition gives it.
struct BodyBox {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;  // the feet
};

// A picture of an animation of the kind on which its blow lands: content whose animation does not
// show it never lands that blow.
struct BlowFrame {
  uint8_t animation;
  uint16_t frame;
};

// The statistics screen's line of a kind whose kills are counted.
struct StatisticsRow {
  const char* label;       // the line's text before the count ("guards kills    ")
  const char* dumpName;    // the count's name in the state dump ("guardKills")
  const char* totalName;   // the kind's total's name in the state dump ("guardTotal")
  bool headsCounted;       // the heads line counts the kind's units
  bool fullCombosCounted;  // the combo-7 line counts the kind's units
};

struct KindRow {
  const char* name;              // the level source's word ("guard")
  const char* inMessages;        // how messages name one ("a guard")
  char editorKey;                // the editor key that places one (0: not placed by a key)
  const char* letter;            // the label of its outline in the editor
  std::array<float, 4> outline;  // the colour of its outline in the editor, with its opacity
  // The body the editor's checks take when the content's definition cannot be read.
  BodyBox demoBody;
  const char* definition;  // its definition file
  const char* frames;      // its frame folder
  // The frame folders load in this order, which is the order their texture names are made in.
  int framesLoadRank;
  // The entries of its animation table its rules show, and the pictures its blows land on.
  std::span<const uint8_t> animations;
  std::span<const BlowFrame> blowFrames;
  std::span<const SoundFile> sounds;
  bool soundsLoadWithPlayer;    // opened with the player's, after the other kinds'
  bool soundsRewoundOnRestart;  // a restart of the level sets them back to their start
  StatisticsRow statistics;     // label null: its kills are not counted
  KindRules rules;
  UnitEffects effects;
};

// The rows in the order of the kinds' numbers, the player's first.
extern const std::span<const KindRow> kKinds;
extern const KindRow kUnnamedKind;

// A kind's row, or the unnamed kinds' row. Read for every processed unit several times a frame,
// so it is inline.
inline const KindRow& KindOf(int32_t kind) {
  if (kind >= 0 && static_cast<std::size_t>(kind) < kKinds.size()) {
    return kKinds[static_cast<std::size_t>(kind)];
  }
  return kUnnamedKind;
}
inline const KindRules& RulesOf(int32_t kind) {
  return KindOf(kind).rules;
}
// The kinds in the order their frame folders load (by their rank).
std::vector<std::size_t> KindsInFrameLoadOrder();

// Whether a map's kind number has a row of its own.
inline bool IsNamedKind(int32_t kind) {
  return kind >= 0 && static_cast<std::size_t>(kind) < kKinds.size();
}
