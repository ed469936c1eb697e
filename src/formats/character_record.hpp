// The character definition file (.pud): one 408-byte little-endian record per kind.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

constexpr std::size_t kCharacterRecordSize = 408;
constexpr int kAnimEntries = 19;

// One entry of the animation table: a run of frames of the kind's frame folder.
struct AnimEntry {
  int32_t firstFrame = 0;
  int32_t frameCount = 0;
  double rate = 0.0;  // seconds each frame stays on screen
  bool operator==(const AnimEntry&) const = default;
};

// Field for field the definition block of a unit. The reserved bytes are kept so that a record
// read and written again is the same 408 bytes.
struct CharacterRecord {
  int32_t kind = 0;
  std::array<uint8_t, 36> reserved4{};
  double x = 0.0;  // placeholders: the level gives the start position
  double y = 0.0;
  int32_t boxLeft = 0;
  int32_t boxTop = 0;
  int32_t boxRight = 0;
  int32_t boxBottom = 0;
  uint8_t activation = 0;  // placeholder: the level gives the wake-up rule
  std::array<uint8_t, 3> reserved73{};
  int32_t spriteSize = 0;
  double speed = 0.0;  // px per ms
  int32_t life = 0;
  int32_t damage = 0;
  uint8_t collisionMode = 0;
  std::array<uint8_t, 7> reserved97{};
  std::array<AnimEntry, kAnimEntries> anims{};
  bool operator==(const CharacterRecord&) const = default;
};

// Byte offsets of the fields, as the unit record copies them.
namespace character_offsets {
constexpr std::size_t kind = 0;
constexpr std::size_t x = 40;
constexpr std::size_t y = 48;
constexpr std::size_t boxLeft = 56;
constexpr std::size_t boxTop = 60;
constexpr std::size_t boxRight = 64;
constexpr std::size_t boxBottom = 68;
constexpr std::size_t activation = 72;
constexpr std::size_t spriteSize = 76;
constexpr std::size_t speed = 80;
constexpr std::size_t life = 88;
constexpr std::size_t damage = 92;
constexpr std::size_t collisionMode = 96;
constexpr std::size_t anims = 104;
constexpr std::size_t animEntrySize = 16;
}  // namespace character_offsets

using CharacterRecordBytes = std::array<uint8_t, kCharacterRecordSize>;

CharacterRecordBytes EncodeCharacterRecord(const CharacterRecord& record);
CharacterRecord DecodeCharacterRecord(std::span<const uint8_t, kCharacterRecordSize> bytes);

struct CharacterRecordParse {
  std::optional<CharacterRecord> record;
  std::string error;  // why not, when record is empty
};

// Reads the first 408 bytes of a whole file; bytes after them are ignored. A shorter file is
// refused, as is one with a field the game cannot play with (life and damage outside
// 0..1,000,000, a body box edge or the sprite size beyond 4,096 either way, an animation's
// first frame or frame count outside 0..512), naming the field, its value and its range.
CharacterRecordParse ParseCharacterRecord(std::span<const uint8_t> fileBytes);
