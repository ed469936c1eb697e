// Loading the character definitions and creating the level's units.
#include "content/characters.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "app/game_state.hpp"
#include "base/backends.hpp"
#include "base/content_paths.hpp"
#include "base/messages.hpp"
#include "base/whole_file.hpp"
#include "formats/character_record.hpp"
#include "game/kinds.hpp"
#include "gfx/frame_sequence.hpp"

namespace {

static_assert(std::tuple_size_v<decltype(GameState::charDefs)> == kKindSlots);

[[noreturn]] void DefinitionError(const std::string& path, const std::string& why) {
  ShowMessageUtf8("MORVA", "Read error in " + path + ": " + why);
  throw ProgramExit{3};
}

CharacterRecord ReadDefinition(const std::string& path) {
  std::optional<std::string> file = backends.content->Resolve(path);
  if (!file) {
    DefinitionError(path, backends.content->LeadsOutside(path) ? "leads outside the content folder"
                                                               : "the file does not exist");
  }
  // A FIFO or a device in its place is not waited for, nor read.
  std::string why;
  std::optional<std::string> read = ReadWholeFile(*file, kCharacterRecordSize, &why);
  if (!read) DefinitionError(path, why);
  const std::vector<uint8_t> bytes(read->begin(), read->end());
  CharacterRecordParse parse = ParseCharacterRecord(bytes);
  if (!parse.record) DefinitionError(path, parse.error);
  return *parse.record;
}

}  // namespace

std::string FrameFolderPath(uint8_t kind) {
  return IsNamedKind(kind) ? KindOf(kind).frames : std::string();
}

std::string DefinitionPath(uint8_t type) {
  if (IsNamedKind(type)) return KindOf(type).definition;
  return "the definition of kind " + std::to_string(type);
}

Unit& CreateUnit(int k, const FrameSets& frameSets) {
  const LevelMap& map = gameState.map;
  Unit& unit = At(gameState.play.units, static_cast<std::size_t>(k), "unit");
  unit.kind = map.CharType[k];
  unit.Definition() = At(gameState.charDefs, map.CharType[k], "character kind");
  unit.x = map.CharPos[k].x;
  unit.y = map.CharPos[k].y;
  unit.activation = map.CharActivation[k];
  unit.anim = std::make_unique<cAnim>();
  // The definition's own kind picks the frames; a kind out of range is the definition file's
  // fault, so the message names it.
  if (unit.kind < 0 || static_cast<std::size_t>(unit.kind) >= frameSets.size()) {
    FatalRangeError("frame set kind index " + std::to_string(unit.kind) + " outside 0.." +
                    std::to_string(frameSets.size() - 1) + ", the kind field of " +
                    DefinitionPath(map.CharType[k]));
  }
  const FrameSet& set = frameSets[static_cast<std::size_t>(unit.kind)];
  unit.anim->width = unit.spriteSize;
  unit.anim->height = unit.spriteSize;
  unit.anim->frameSetWord = set.spare;
  unit.anim->textures = set.textures;
  return unit;
}

void CreateUnits(const FrameSets& frameSets) {
  for (int k = 0; k < gameState.map.CharCount; ++k) CreateUnit(k, frameSets);
  PlaceCameraOnPlayer(gameState.play);
}

namespace {
// The highest frame the definition's animations show, or -1 (entries out of the table's range
// are left to the range checks of drawing).
int32_t HighestFrameUsed(const CharacterRecord& definition) {
  int64_t highest = -1;
  for (const AnimEntry& a : definition.anims) {
    if (a.firstFrame < 0 || a.frameCount <= 0) continue;
    highest = std::max<int64_t>(highest, int64_t{a.firstFrame} + a.frameCount - 1);
  }
  return static_cast<int32_t>(std::min<int64_t>(highest, kAnimFrames - 1));
}

}  // namespace

void LoadCharacters() {
  std::array<CharacterRecord, kKindSlots> definitions{};
  for (std::size_t kind = 0; kind < kKinds.size(); ++kind) {
    definitions[kind] = ReadDefinition(kKinds[kind].definition);
  }
  // Kept only while the units are made.
  auto frameSets = std::make_unique<FrameSets>();
  for (std::size_t kind : KindsInFrameLoadOrder()) {
    const char* frames = kKinds[kind].frames;
    int32_t tried = LoadFrameSequence(frames, (*frameSets)[kind].textures, kAnimFrames - 1);
    if (LevelMapLoaded()) {
      NoteFramesPastTheEnd(frames, tried, HighestFrameUsed(definitions[kind]),
                           "the animation table of " + Cp1257ToUtf8(kKinds[kind].definition));
    }
  }
  for (std::size_t kind = 0; kind < kKinds.size(); ++kind) {
    gameState.charDefs[kind] = definitions[kind];
  }
  CreateUnits(*frameSets);
}
