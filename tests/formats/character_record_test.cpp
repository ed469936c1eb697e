// Character definition record: field offsets, byte-exact round trip, short and long files, and
// the ranges the game can play with.
#include "formats/character_record.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <vector>

namespace {

CharacterRecord Sample() {
  CharacterRecord r;
  r.kind = 3;
  for (std::size_t i = 0; i < r.reserved4.size(); ++i) r.reserved4[i] = static_cast<uint8_t>(i + 1);
  r.x = -12.5;
  r.y = 1e6;
  r.boxLeft = -30;
  r.boxTop = -70;
  r.boxRight = 31;
  r.boxBottom = 88;
  r.activation = 0xAB;
  r.reserved73 = {7, 8, 9};
  r.spriteSize = 256;
  r.speed = 0.0625;
  r.life = 90;
  r.damage = 4;
  r.collisionMode = 2;
  r.reserved97 = {1, 2, 3, 4, 5, 6, 7};
  for (int i = 0; i < kAnimEntries; ++i) {
    r.anims[i] = {i * 10, i + 1, 0.01 * (i + 1)};
  }
  return r;
}

int32_t I32At(const CharacterRecordBytes& b, std::size_t at) {
  int32_t v;
  std::memcpy(&v, &b[at], 4);
  return v;
}
double F64At(const CharacterRecordBytes& b, std::size_t at) {
  double v;
  std::memcpy(&v, &b[at], 8);
  return v;
}

}  // namespace

TEST(CharacterRecord, FieldsSitAtTheirOffsets) {
  static_assert(std::endian::native == std::endian::little);
  CharacterRecordBytes b = EncodeCharacterRecord(Sample());
  EXPECT_EQ(I32At(b, 0), 3);
  EXPECT_EQ(b[4], 1);
  EXPECT_EQ(b[39], 36);
  EXPECT_EQ(F64At(b, 40), -12.5);
  EXPECT_EQ(F64At(b, 48), 1e6);
  EXPECT_EQ(I32At(b, 56), -30);
  EXPECT_EQ(I32At(b, 60), -70);
  EXPECT_EQ(I32At(b, 64), 31);
  EXPECT_EQ(I32At(b, 68), 88);
  EXPECT_EQ(b[72], 0xAB);
  EXPECT_EQ(b[75], 9);
  EXPECT_EQ(I32At(b, 76), 256);
  EXPECT_EQ(F64At(b, 80), 0.0625);
  EXPECT_EQ(I32At(b, 88), 90);
  EXPECT_EQ(I32At(b, 92), 4);
  EXPECT_EQ(b[96], 2);
  EXPECT_EQ(b[103], 7);
  // The table: 19 entries of 16 bytes from 104, the last one ending the record.
  EXPECT_EQ(I32At(b, 104), 0);
  EXPECT_EQ(I32At(b, 108), 1);
  EXPECT_EQ(F64At(b, 112), 0.01);
  EXPECT_EQ(I32At(b, 104 + 18 * 16), 180);
  EXPECT_EQ(I32At(b, 108 + 18 * 16), 19);
  EXPECT_DOUBLE_EQ(F64At(b, 400), 0.19);
}

TEST(CharacterRecord, RecordsSurviveAWriteAndARead) {
  CharacterRecord r = Sample();
  CharacterRecordBytes b = EncodeCharacterRecord(r);
  EXPECT_EQ(DecodeCharacterRecord(b), r);
  // And any 408 bytes survive a read and a write, the reserved ones included.
  CharacterRecordBytes noise;
  uint32_t state = 12345;
  for (uint8_t& byte : noise) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<uint8_t>(state >> 24);
  }
  // Not-a-number doubles compare unequal but must keep their bits.
  EXPECT_EQ(EncodeCharacterRecord(DecodeCharacterRecord(noise)), noise);
}

TEST(CharacterRecord, FilesShorterThanARecordAreRefusedLongerOnesLoad) {
  CharacterRecordBytes b = EncodeCharacterRecord(Sample());
  std::vector<uint8_t> file(b.begin(), b.end());
  EXPECT_TRUE(ParseCharacterRecord(file).record.has_value());

  std::vector<uint8_t> longer = file;
  longer.resize(1000, 0xEE);
  CharacterRecordParse parsedLong = ParseCharacterRecord(longer);
  ASSERT_TRUE(parsedLong.record.has_value());
  EXPECT_EQ(*parsedLong.record, Sample());

  std::vector<uint8_t> shorter(file.begin(), file.end() - 1);
  CharacterRecordParse parsedShort = ParseCharacterRecord(shorter);
  EXPECT_FALSE(parsedShort.record.has_value());
  EXPECT_NE(parsedShort.error.find("407"), std::string::npos);
  EXPECT_FALSE(ParseCharacterRecord({}).record.has_value());
}

// Found by a reviewer: a life of 2^31 - 1 plus a life item killed the player, a life of -2^31
// made a guard immortal, and sums of boxes and animation runs overflowed. Each field is checked
// on both sides of its range.
TEST(CharacterRecord, FieldsOutsideWhatTheGameCanPlayWithAreRefusedByName) {
  using Set = void (*)(CharacterRecord&, int32_t);
  const struct Row {
    Set set;
    int32_t low;
    int32_t high;
    const char* named;
  } rows[] = {
      {[](CharacterRecord& r, int32_t v) { r.life = v; }, 0, 1'000'000, "life is "},
      {[](CharacterRecord& r, int32_t v) { r.damage = v; }, 0, 1'000'000, "damage is "},
      {[](CharacterRecord& r, int32_t v) { r.boxLeft = v; }, -4096, 4096, "left edge is "},
      {[](CharacterRecord& r, int32_t v) { r.boxTop = v; }, -4096, 4096, "top edge is "},
      {[](CharacterRecord& r, int32_t v) { r.boxRight = v; }, -4096, 4096, "right edge is "},
      {[](CharacterRecord& r, int32_t v) { r.boxBottom = v; }, -4096, 4096, "bottom edge is "},
      {[](CharacterRecord& r, int32_t v) { r.spriteSize = v; }, -4096, 4096, "sprite size is "},
      {[](CharacterRecord& r, int32_t v) { r.anims[18].firstFrame = v; }, 0, 512,
       "animation 18's first frame is "},
      {[](CharacterRecord& r, int32_t v) { r.anims[0].frameCount = v; }, 0, 512,
       "animation 0's frame count is "},
  };
  auto parse = [](const Row& row, int32_t value) {
    CharacterRecord r = Sample();
    row.set(r, value);
    CharacterRecordBytes b = EncodeCharacterRecord(r);
    return ParseCharacterRecord(std::vector<uint8_t>(b.begin(), b.end()));
  };
  for (const Row& row : rows) {
    for (int32_t inside : {row.low, row.high}) {
      EXPECT_TRUE(parse(row, inside).record) << row.named << inside;
    }
    for (int32_t outside : {row.low - 1, row.high + 1, INT32_MIN, INT32_MAX}) {
      CharacterRecordParse p = parse(row, outside);
      EXPECT_FALSE(p.record) << row.named << outside;
      EXPECT_NE(p.error.find(row.named + std::to_string(outside) + ", outside " +
                             std::to_string(row.low) + ".." + std::to_string(row.high)),
                std::string::npos)
          << p.error;
    }
  }
}
