// morva-edit: the level editor's program. Opens a level source (or starts a new one at that
// name), finds the game's content for the font and the characters' bodies, and runs the editor
// in a window of its own.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/lasting_notice.hpp"
#include "app/letterbox.hpp"
#include "base/backends.hpp"
#include "base/content_paths.hpp"
#include "base/messages.hpp"
#include "base/whole_file.hpp"
#include "editor/editor.hpp"
#include "formats/character_record.hpp"
#include "gfx/load.hpp"
#include "platform/gl_renderer.hpp"
#include "platform/sdl_platform.hpp"

namespace fs = std::filesystem;

namespace {

constexpr char kUsage[] =
    "usage: morva-edit [FILE.lvl] [--root DIR]\n"
    "Edits the level source FILE.lvl (a new level when it does not exist yet; untitled.lvl\n"
    "without a name). Press F1 in the editor for its keys. The game's content (the first\n"
    "place morva --print-paths names, or DIR) gives the font and the characters' bodies.\n";

// A picture of the content, or none where it has no such file.
Texture Picture(ContentPaths& content, const std::string& path) {
  return content.Exists(path) ? cLoad::LoadDXT(path) : 0;
}

// Each kind's body and its first standing picture, from its definition and frames, and the
// items' pictures.
void ReadPictures(ContentPaths& content, EditorSetup& setup) {
  for (uint8_t kind = 0; kind < kKinds.size(); ++kind) {
    std::optional<std::string> path = content.Resolve(kKinds[kind].definition);
    std::optional<std::string> bytes = path ? ReadWholeFile(*path) : std::nullopt;
    if (!bytes) continue;
    CharacterRecordParse parsed =
        ParseCharacterRecord({reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()});
    if (!parsed.record) continue;
    const CharacterRecord& r = *parsed.record;
    setup.bodies[kind] = {r.boxLeft, r.boxTop, r.boxRight, r.boxBottom};
    const std::string frame = kKinds[kind].frames + std::to_string(r.anims[0].firstFrame) + ".dxt";
    setup.kinds[kind] = {Picture(content, frame), r.spriteSize};
  }
  setup.items = {{{Picture(content, "data\\items\\life.dxt"), 50},
                  {Picture(content, "data\\items\\MFL.dxt"), 50}}};
}

struct Arguments {
  fs::path file = "untitled.lvl";
  std::optional<std::string> root;
};

std::optional<Arguments> Parse(int argc, char** argv) {
  Arguments a;
  bool named = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--root") && i + 1 < argc) {
      a.root = argv[++i];
    } else if (argv[i][0] != '-' && !named) {
      a.file = argv[i];
      named = true;
    } else {
      return std::nullopt;
    }
  }
  return a;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
    std::printf("%s", kUsage);
    return 0;
  }
  std::optional<Arguments> args = Parse(argc, argv);
  if (!args) {
    std::fprintf(stderr, "%s", kUsage);
    return 2;
  }
  std::optional<LevelDocument> document;
  if (std::optional<std::string> text = ReadWholeFile(args->file)) {
    LevelDocument::Opened opened = LevelDocument::Open(*text);
    if (!opened.document) {
      std::fprintf(stderr, "morva-edit: %s: %s\n", args->file.c_str(), opened.error.c_str());
      return 2;
    }
    document = std::move(opened.document);
  } else if (fs::exists(args->file)) {
    std::fprintf(stderr, "morva-edit: %s cannot be read\n", args->file.c_str());
    return 2;
  } else {
    document = LevelDocument::New(4, 2, kNewLevelCell);
  }
  ContentSearch search = FindContentRoot(args->root);
  if (!search.root) {
    std::fprintf(stderr, "morva-edit: no game content found (morva --print-paths says where)\n");
    return 3;
  }
  ContentPaths content(*search.root);
  // As large as the screen allows, frame and title bar on the screen: a window of a fixed size
  // hung off smaller screens.
  SdlPlatform platform(true, true, kLogicalWidth, kLogicalHeight, true);
  if (platform.Ok()) platform.FitWindowToDisplay();
  if (!platform.Ok() || !platform.CreateContext(false)) {
    std::fprintf(stderr, "morva-edit: no window: %s\n", platform.Error().c_str());
    return 4;
  }
  platform.FitWindowToDisplay();
  GlRenderer renderer(platform);
  renderer.SetPictureSource(ContentPictures());
  backends = Backends{&platform, &renderer, nullptr, &content};
  renderer.SetFixedState(platform.LogicalViewport());
  const fs::path game = RunningExecutable().parent_path() / "morva";
  EditorSetup setup{args->file, std::move(*document), DemoBodies(), {}, {}, 0, game, *search.root};
  try {
    cLoad::LoadTGA("data\\fonts\\fontLV.tga", setup.font);
    ReadPictures(content, setup);
  } catch (const ProgramExit& exit) {  // Ctrl+C while the pictures load
    backends = Backends{};
    return exit.status;
  }
  Editor editor(std::move(setup));
  std::string title;
  for (bool running = true; running;) {
    platform.WaitEvent(50);
    Event e;
    // A press that dismisses a notice works nothing else.
    while (platform.PollEvent(e))
      running = (TakenByLastingNotice(e) || editor.Handle(e)) && running;
    if (editor.Poll()) platform.Raise();
    if (editor.Title() != title) platform.SetTitle(title = editor.Title());
    renderer.SetFixedState(platform.LogicalViewport());
    editor.Draw();
    platform.SwapBuffers();
  }
  backends = Backends{};
  return 0;
}
