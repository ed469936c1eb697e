// Fuzz target: the 408-byte character definition record.
#include <cstring>
#include <string>
#include <vector>

#include "formats/character_record.hpp"
#include "fuzz_check.hpp"

namespace {
// The fields the loader checks, with the ranges the game plays with.
struct Checked {
  int32_t value, low, high;
};
std::vector<Checked> CheckedFields(const CharacterRecord& r) {
  std::vector<Checked> fields = {{r.life, 0, 1'000'000},     {r.damage, 0, 1'000'000},
                                 {r.boxLeft, -4096, 4096},   {r.boxTop, -4096, 4096},
                                 {r.boxRight, -4096, 4096},  {r.boxBottom, -4096, 4096},
                                 {r.spriteSize, -4096, 4096}};
  for (const AnimEntry& a : r.anims) {
    fields.push_back({a.firstFrame, 0, 512});
    fields.push_back({a.frameCount, 0, 512});
  }
  return fields;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CharacterRecordParse parse = ParseCharacterRecord(std::span<const uint8_t>(data, size));
  FuzzCheck(parse.record.has_value() == parse.error.empty(), "a record or the reason for none");
  if (size < kCharacterRecordSize) {
    FuzzCheck(!parse.record, "a short record is refused");
    return 0;
  }
  // A whole record is refused exactly when a field is out of its range, and the message gives
  // the value as the record holds it.
  const CharacterRecord fields =
      DecodeCharacterRecord(std::span<const uint8_t>(data, size).first<kCharacterRecordSize>());
  bool outside = false, named = false;
  for (const Checked& f : CheckedFields(fields)) {
    if (f.value >= f.low && f.value <= f.high) continue;
    outside = true;
    named = named || parse.error.find(" is " + std::to_string(f.value) + ",") != std::string::npos;
  }
  FuzzCheck(parse.record.has_value() == !outside, "refused when a field is out of range");
  if (!parse.record) {
    FuzzCheck(named, "the refusal names the value out of range");
    return 0;
  }
  // Every byte, reserved ones and odd doubles included, is kept by a read and a write.
  CharacterRecordBytes again = EncodeCharacterRecord(*parse.record);
  FuzzCheck(std::memcmp(again.data(), data, kCharacterRecordSize) == 0, "bytes survive a rewrite");
  return 0;
}
