// Fuzz target: a character definition the loader accepts, played. The first 408 bytes are the
// record; when it parses, it becomes one kind's definition file in a small level (the next byte
// picks the kind, else the record's own kind field, else the guard), beside the demo's
// definitions of the other three and a folder of pictures for each, and the level is loaded and
// played headless for a few hundred frames with the keys the remaining bytes hold (a fixed run of
// walking, jumping and attacking without them).
// Whatever the loader accepts must play without a sanitizer report; the game's own range check
// (a message, then the run ends with status 3) is an answer, not a finding.
#include <unistd.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "../game/demo_bodies.hpp"
#include "app/game_state.hpp"
#include "app/headless_platform.hpp"
#include "app/input.hpp"
#include "audio/headless_audio.hpp"
#include "base/backends.hpp"
#include "base/content_paths.hpp"
#include "base/input_states.hpp"
#include "base/messages.hpp"
#include "base/unit_kinds.hpp"
#include "content/level_load.hpp"
#include "editing/level_source.hpp"
#include "formats/character_record.hpp"
#include "formats/level_map_file.hpp"
#include "formats/texture_container.hpp"
#include "fuzz_check.hpp"
#include "game/level.hpp"
#include "gfx/recorder_renderer.hpp"

namespace fs = std::filesystem;

namespace {

constexpr int kFrames = 400;
constexpr double kFrameMs = 10;
// Each key byte is held this many frames.
constexpr int kFramesPerKeyByte = 8;
// Held keys when the input has none of its own: walk into the enemies, crouch, jump and use every
// attack and the power-up.
constexpr uint8_t kDefaultKeys[] = {0x08, 0x08, 0x08, 0x18, 0x08, 0x20, 0x00, 0x40, 0x09, 0x80,
                                    0x02, 0x12, 0x00, 0x03, 0x04, 0x14, 0x08, 0x28, 0x01, 0x48,
                                    0x08, 0x88, 0x00, 0x18, 0x08, 0x10, 0x00, 0x10, 0x0c, 0x03,
                                    0x08, 0x90, 0x08, 0x50, 0x00, 0x30, 0x08, 0x18, 0x02, 0x10};

struct KindFile {
  int kind;
  const char* name;
  const char* frames;  // the folder of its pictures
};
constexpr std::array<KindFile, 4> kDefinitionFiles = {{
    {kPlayer, "ravik.pud", "ravik"},
    {kSentinel, "Sentinel.pud", "Sentinel"},
    {kGuard, "guard.pud", "guard"},
    {kGolem, "golam.pud", "golam"},
}};
// Pictures in each kind's folder: an animation of a definition may run past them, into gaps.
constexpr int kFramesPerKind = 96;

// The definitions of the kinds the input does not replace: the demo content's bodies.
CharacterRecord DemoDefinition(int kind) {
  constexpr int32_t kSpriteSizes[] = {128, 64, 128, 256};
  CharacterRecord d = DefinitionWithBody(kind, kDemoBodies[kind]);
  d.spriteSize = kSpriteSizes[kind];
  for (int e = 0; e < kAnimEntries; ++e)
    d.anims[static_cast<std::size_t>(e)] = {e % 4 * 4, 4, 0.08};
  return d;
}

void WriteBytes(const fs::path& path, const uint8_t* data, size_t size) {
  // A new file each time: truncating the old one makes ext4 flush it to disk on close.
  std::error_code ec;
  fs::remove(path, ec);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void RestoreDefinition(const fs::path& root, const KindFile& f) {
  CharacterRecordBytes bytes = EncodeCharacterRecord(DemoDefinition(f.kind));
  WriteBytes(root / "data" / "chars" / f.name, bytes.data(), bytes.size());
}

// Two screens with a floor, the player at the left, an enemy of each kind awake before it and
// both kinds of item on its way. Made once per process; only the fuzzed definition changes.
const fs::path& ContentRoot() {
  static const fs::path root = [] {
    fs::path dir =
        fs::temp_directory_path() / ("morva_fuzz_character_play_" + std::to_string(getpid()));
    fs::create_directories(dir / "data" / "chars");
    fs::create_directories(dir / "data" / "levels" / "level1");
    LevelMapFile map;
    map.Resize(2, 1);
    for (int cx = 0; cx < map.Columns(); ++cx) {
      for (int cy = map.Rows() - 3; cy < map.Rows(); ++cy) map.SetCell(cx, cy, 1);
    }
    for (int cx = 70; cx < 90; ++cx) map.SetCell(cx, 45, 2);
    const struct {
      int kind;
      int32_t x, y;
    } units[] = {{kPlayer, 200, 514},
                 {kSentinel, 520, 300},
                 {kGuard, 640, 514},
                 {kGolem, 900, 462},
                 {kGuard, 1300, 514}};
    for (const auto& u : units) {
      map.CharType.push_back(static_cast<uint8_t>(u.kind));
      map.CharActivation.push_back(kWakeAwake);
      map.CharPos.push_back({u.x, u.y});
    }
    map.ItemType = {kItemLife, kItemPower};
    map.ItemPos = {{300, 530}, {420, 530}};
    std::vector<uint8_t> bytes = EncodeLevelMap(map);
    WriteBytes(dir / "data" / "levels" / "level1" / "level.mrv", bytes.data(), bytes.size());
    // A 4 x 4 DXT1 picture per frame, so that units are drawn at their sprite size.
    std::vector<uint8_t> picture(16 + 8, 0x5a);
    const int32_t header[] = {8, kFormatDxt1Rgba, 4, 4};
    std::memcpy(picture.data(), header, sizeof header);
    for (const KindFile& f : kDefinitionFiles) {
      RestoreDefinition(dir, f);
      fs::create_directories(dir / "data" / "chars" / f.frames);
      for (int n = 0; n < kFramesPerKind; ++n) {
        WriteBytes(dir / "data" / "chars" / f.frames / (std::to_string(n) + ".dxt"), picture.data(),
                   picture.size());
      }
    }
    return dir;
  }();
  static const struct RemoveAtExit {
    ~RemoveAtExit() {
      std::error_code ec;
      fs::remove_all(root, ec);
    }
  } removeAtExit;
  return root;
}

// The level's headless back ends and a fresh program state, for one input.
struct Session {
  HeadlessPlatform platform;
  RecorderRenderer renderer;
  HeadlessAudio audio;
  ContentPaths content{ContentRoot()};
  Session() {
    ResetGameState();
    backends = Backends{&platform, &renderer, &audio, &content};
  }
  ~Session() {
    // The units' animations and the messages go now, not at the next input: kept, they look
    // like a leak to the fuzzer.
    ResetGameState();
    std::vector<ShownMessage>().swap(shownMessages);
    backends = Backends{};
  }
};

// The keys of one byte: the four directions, then attacks 1 to 4; up and down together also
// fire the power-up.
StateSet KeysOf(uint8_t byte) {
  StateSet keys;
  const InputState bits[] = {
      Up, Down, Left, Right, AttackButton(1), AttackButton(2), AttackButton(3), AttackButton(4)};
  for (int b = 0; b < 8; ++b) keys.set(bits[b], (byte >> b) & 1);
  if ((byte & 3) == 3) keys.set(kPowerUpButton);
  return keys;
}

void Play(std::span<const uint8_t> keyBytes) {
  if (keyBytes.empty()) keyBytes = kDefaultKeys;
  gameState.morva.frameTime = kFrameMs;
  gameState.morva.timeScale = 1000;
  gameState.flags.inGame = 1;
  gameState.flags.menuShown = 0;
  gameState.flags.introDone = 1;
  LoadLevel();
  gameState.flags.levelLoaded = 1;
  StateSet held;
  for (int frame = 0; frame < kFrames; ++frame) {
    const size_t step = static_cast<size_t>(frame / kFramesPerKeyByte) % keyBytes.size();
    const StateSet keys = KeysOf(keyBytes[step]);
    // A key let go this frame, as the event handler tells the level.
    gameState.keyReleased = (held & ~keys).any() ? 1 : 0;
    held = keys;
    DXInput1.States = keys;
    backends.renderer->BeginFrame(0, 800, 0, 600);
    const SceneFrame scene = CurrentSceneFrame();
    if (gameState.flags.restartRequested == 1) {
      RestartLevel(scene.level);
      gameState.flags.restartRequested = 0;
    }
    RunLevel(scene);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  CharacterRecordParse parse = ParseCharacterRecord(input);
  if (!parse.record) return 0;

  size_t slot = parse.record->kind >= 0 && parse.record->kind < 4
                    ? static_cast<size_t>(parse.record->kind)
                    : static_cast<size_t>(kGuard);
  if (size > kCharacterRecordSize) slot = data[kCharacterRecordSize] % kDefinitionFiles.size();
  const KindFile& fuzzed = kDefinitionFiles[slot];
  WriteBytes(ContentRoot() / "data" / "chars" / fuzzed.name, data, kCharacterRecordSize);
  {
    Session session;
    try {
      Play(size > kCharacterRecordSize + 1 ? input.subspan(kCharacterRecordSize + 1)
                                           : std::span<const uint8_t>());
    } catch (const ProgramExit& exit) {
      // The game's range checks end the run with a message saying which table and index.
      FuzzCheck(exit.status == 3, "a definition that cannot be played ends the run with status 3");
      FuzzCheck(!shownMessages.empty(), "the run that ends says why");
    }
  }
  RestoreDefinition(ContentRoot(), fuzzed);
  return 0;
}
