// Fuzz target: the 408-byte character definition record.
#include <cstring>

#include "formats/character_record.hpp"
#include "fuzz_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CharacterRecordParse parse = ParseCharacterRecord(std::span<const uint8_t>(data, size));
  FuzzCheck(parse.record.has_value() == (size >= kCharacterRecordSize), "refused only when short");
  if (!parse.record) {
    FuzzCheck(!parse.error.empty(), "a refused record says why");
    return 0;
  }
  // Every byte, reserved ones and odd doubles included, is kept by a read and a write.
  CharacterRecordBytes again = EncodeCharacterRecord(*parse.record);
  FuzzCheck(std::memcmp(again.data(), data, kCharacterRecordSize) == 0, "bytes survive a rewrite");
  return 0;
}
