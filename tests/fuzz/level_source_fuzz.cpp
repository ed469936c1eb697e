// Fuzz target: the level source compiler, from text to the map bytes the game reads.
#include <sstream>

#include "editing/level_source.hpp"
#include "fuzz_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LevelSourceParse parse = ParseLevelSource(FuzzText(data, size));
  if (!parse.source) {
    FuzzCheck(!parse.error.empty(), "a refused source says why");
    return 0;
  }
  const LevelSource& source = *parse.source;
  LevelSourceParse again = ParseLevelSource(FormatLevelSource(source));
  FuzzCheck(again.source && *again.source == source, "formatted source parses back the same");
  LevelCompile compile = CompileLevel(source);
  if (!compile.map) {
    FuzzCheck(!compile.error.empty(), "a refused compile says why");
    return 0;
  }
  std::vector<uint8_t> bytes = EncodeLevelMap(*compile.map);
  std::istringstream in(FuzzText(bytes.data(), bytes.size()));
  LevelMapRead read = ReadLevelMap(in);
  FuzzCheck(read.ok() && read.map == *compile.map, "compiled map reads back in the game");
  return 0;
}
