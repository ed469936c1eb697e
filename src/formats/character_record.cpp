// Reading and writing the 408-byte character definition record.
#include "formats/character_record.hpp"

#include <algorithm>
#include <bit>
#include <utility>

namespace {

namespace off = character_offsets;

void PutU32(CharacterRecordBytes& b, std::size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void PutI32(CharacterRecordBytes& b, std::size_t at, int32_t v) {
  PutU32(b, at, static_cast<uint32_t>(v));
}
void PutF64(CharacterRecordBytes& b, std::size_t at, double v) {
  uint64_t bits = std::bit_cast<uint64_t>(v);
  for (int i = 0; i < 8; ++i) b[at + i] = static_cast<uint8_t>(bits >> (8 * i));
}

int32_t GetI32(std::span<const uint8_t, kCharacterRecordSize> b, std::size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(b[at + i]) << (8 * i);
  return static_cast<int32_t>(v);
}
double GetF64(std::span<const uint8_t, kCharacterRecordSize> b, std::size_t at) {
  uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(b[at + i]) << (8 * i);
  return std::bit_cast<double>(v);
}

template <std::size_t N>
void PutBytes(CharacterRecordBytes& b, std::size_t at, const std::array<uint8_t, N>& src) {
  std::copy(src.begin(), src.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}
template <std::size_t N>
void GetBytes(std::span<const uint8_t, kCharacterRecordSize> b, std::size_t at,
              std::array<uint8_t, N>& dst) {
  std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(at), N, dst.begin());
}

}  // namespace

CharacterRecordBytes EncodeCharacterRecord(const CharacterRecord& r) {
  CharacterRecordBytes b{};
  PutI32(b, off::kind, r.kind);
  PutBytes(b, off::kind + 4, r.reserved4);
  PutF64(b, off::x, r.x);
  PutF64(b, off::y, r.y);
  PutI32(b, off::boxLeft, r.boxLeft);
  PutI32(b, off::boxTop, r.boxTop);
  PutI32(b, off::boxRight, r.boxRight);
  PutI32(b, off::boxBottom, r.boxBottom);
  b[off::activation] = r.activation;
  PutBytes(b, off::activation + 1, r.reserved73);
  PutI32(b, off::spriteSize, r.spriteSize);
  PutF64(b, off::speed, r.speed);
  PutI32(b, off::life, r.life);
  PutI32(b, off::damage, r.damage);
  b[off::collisionMode] = r.collisionMode;
  PutBytes(b, off::collisionMode + 1, r.reserved97);
  for (int i = 0; i < kAnimEntries; ++i) {
    std::size_t at = off::anims + static_cast<std::size_t>(i) * off::animEntrySize;
    PutI32(b, at, r.anims[i].firstFrame);
    PutI32(b, at + 4, r.anims[i].frameCount);
    PutF64(b, at + 8, r.anims[i].rate);
  }
  return b;
}

CharacterRecord DecodeCharacterRecord(std::span<const uint8_t, kCharacterRecordSize> b) {
  CharacterRecord r;
  r.kind = GetI32(b, off::kind);
  GetBytes(b, off::kind + 4, r.reserved4);
  r.x = GetF64(b, off::x);
  r.y = GetF64(b, off::y);
  r.boxLeft = GetI32(b, off::boxLeft);
  r.boxTop = GetI32(b, off::boxTop);
  r.boxRight = GetI32(b, off::boxRight);
  r.boxBottom = GetI32(b, off::boxBottom);
  r.activation = b[off::activation];
  GetBytes(b, off::activation + 1, r.reserved73);
  r.spriteSize = GetI32(b, off::spriteSize);
  r.speed = GetF64(b, off::speed);
  r.life = GetI32(b, off::life);
  r.damage = GetI32(b, off::damage);
  r.collisionMode = b[off::collisionMode];
  GetBytes(b, off::collisionMode + 1, r.reserved97);
  for (int i = 0; i < kAnimEntries; ++i) {
    std::size_t at = off::anims + static_cast<std::size_t>(i) * off::animEntrySize;
    r.anims[i].firstFrame = GetI32(b, at);
    r.anims[i].frameCount = GetI32(b, at + 4);
    r.anims[i].rate = GetF64(b, at + 8);
  }
  return r;
}

namespace {

// What the game can play with: sums and steps of these stay far inside 32 bits.
constexpr int32_t kMostLifeOrDamage = 1'000'000;
constexpr int32_t kFarthestEdge = 4096;  // a body box's edges and the sprite size, either way
constexpr int32_t kMostFrames = 512;     // an animation's first frame and its count

// The first field outside its range, named with its value and the range; empty when all are in.
std::string FieldOutOfRange(const CharacterRecord& r) {
  const struct {
    std::string name;
    int32_t value;
    int32_t low;
    int32_t high;
  } fields[] = {
      {"life", r.life, 0, kMostLifeOrDamage},
      {"damage", r.damage, 0, kMostLifeOrDamage},
      {"the body's left edge", r.boxLeft, -kFarthestEdge, kFarthestEdge},
      {"the body's top edge", r.boxTop, -kFarthestEdge, kFarthestEdge},
      {"the body's right edge", r.boxRight, -kFarthestEdge, kFarthestEdge},
      {"the body's bottom edge", r.boxBottom, -kFarthestEdge, kFarthestEdge},
      {"the sprite size", r.spriteSize, -kFarthestEdge, kFarthestEdge},
  };
  for (const auto& f : fields) {
    if (f.value < f.low || f.value > f.high) {
      return f.name + " is " + std::to_string(f.value) + ", outside " + std::to_string(f.low) +
             ".." + std::to_string(f.high);
    }
  }
  for (int i = 0; i < kAnimEntries; ++i) {
    const AnimEntry& a = r.anims[static_cast<std::size_t>(i)];
    for (auto [what, value] :
         {std::pair{"first frame", a.firstFrame}, std::pair{"frame count", a.frameCount}}) {
      if (value < 0 || value > kMostFrames) {
        return "animation " + std::to_string(i) + "'s " + what + " is " + std::to_string(value) +
               ", outside 0.." + std::to_string(kMostFrames);
      }
    }
  }
  return {};
}

}  // namespace

CharacterRecordParse ParseCharacterRecord(std::span<const uint8_t> fileBytes) {
  CharacterRecordParse parse;
  if (fileBytes.size() < kCharacterRecordSize) {
    parse.error =
        "the file holds " + std::to_string(fileBytes.size()) + " bytes, a definition needs 408";
    return parse;
  }
  CharacterRecord record = DecodeCharacterRecord(fileBytes.first<kCharacterRecordSize>());
  parse.error = FieldOutOfRange(record);
  if (parse.error.empty()) parse.record = record;
  return parse;
}
