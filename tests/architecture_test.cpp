// The layers of src/: which folder may include which, read from the #include lines themselves.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Top to bottom. A folder may include itself and the folders named on its row, nothing else.
// The window system sits on top: only platform/ (and main.cpp) sees SDL, GL and every layer.
// app owns the program's one state and hands the level its frame; ui, content and harness read
// the state too. game lies below them all and below fx: it works on the frame it is given and
// never sees app, ui or fx, except for the level driver, which interleaves drawing with the
// game's steps. fx draws the game from the same frame and never sees app or ui. gfx and audio
// sit under them and know only the shared types, the message path and formats; so does editing,
// the level editor's document apart from any window; formats knows nothing but the shared types;
// base knows nothing.
const std::map<std::string, std::set<std::string>> kAllowed = {
    {"platform",
     {"app", "harness", "ui", "content", "game", "fx", "gfx", "audio", "formats", "base"}},
    {"editor",
     {"platform", "app", "editing", "content", "game", "gfx", "audio", "formats", "base"}},
    {"harness", {"app", "ui", "content", "game", "fx", "gfx", "audio", "formats", "base"}},
    {"app",
     {"harness", "ui", "content", "editing", "game", "fx", "gfx", "audio", "formats", "base"}},
    {"ui", {"app", "content", "game", "fx", "gfx", "audio", "formats", "base"}},
    {"content", {"app", "ui", "game", "fx", "gfx", "audio", "formats", "base"}},
    {"game", {"content", "gfx", "audio", "formats", "base"}},
    {"fx", {"content", "game", "gfx", "audio", "formats", "base"}},
    {"editing", {"game", "formats", "base"}},
    {"gfx", {"formats", "base"}},
    {"audio", {"formats", "base"}},
    {"formats", {"base"}},
    {"base", {}},
};

// Files allowed more than their folder: the level driver runs the game's steps and the drawing
// in their fixed order, so it sees fx and ui.
const std::map<std::string, std::set<std::string>> kAllowedAlso = {
    {"game/level.cpp", {"fx", "ui"}},
    {"game/level.hpp", {"fx"}},
};

// System headers that belong to the window system, allowed only in platform/.
const std::regex kWindowSystemHeader(R"(^(SDL2?/|SDL[_.]|GL/|GLES|EGL/|KHR/|X11/))");

struct Include {
  std::string file;  // relative to src/
  int line = 0;
  std::string target;
  bool quoted = false;
};

std::vector<Include> ReadIncludes(const fs::path& src) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::vector<Include> found;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    if (!entry.is_regular_file()) continue;
    std::string ext = entry.path().extension().string();
    if (ext != ".cpp" && ext != ".hpp") continue;
    std::ifstream in(entry.path());
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
      ++number;
      std::smatch m;
      if (!std::regex_search(text, m, kInclude)) continue;
      found.push_back({fs::relative(entry.path(), src).generic_string(), number, m[2].str(),
                       m[1].str() == "\""});
    }
  }
  return found;
}

std::string FolderOf(const std::string& path) {
  auto slash = path.find('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// What is wrong with one include line, or empty when it is allowed.
std::string Violation(const Include& inc) {
  std::string from = FolderOf(inc.file);
  if (from.empty()) return {};  // main.cpp wires everything together
  auto rule = kAllowed.find(from);
  if (rule == kAllowed.end()) return "folder " + from + " is missing from the layer table";
  if (!inc.quoted) {
    if (from != "platform" && std::regex_search(inc.target, kWindowSystemHeader))
      return "window-system header <" + inc.target + "> outside platform/";
    return {};
  }
  std::string to = FolderOf(inc.target);
  if (to.empty() || to == from || rule->second.count(to)) return {};
  if (auto also = kAllowedAlso.find(inc.file);
      also != kAllowedAlso.end() && also->second.count(to)) {
    return {};
  }
  return from + "/ may not include " + to + "/ (\"" + inc.target + "\")";
}

std::vector<std::string> Violations(const std::vector<Include>& includes) {
  std::vector<std::string> out;
  for (const Include& inc : includes) {
    std::string why = Violation(inc);
    if (!why.empty())
      out.push_back("src/" + inc.file + ":" + std::to_string(inc.line) + ": " + why);
  }
  return out;
}

// From the build, not __FILE__: a build that maps its source path (-ffile-prefix-map, as Debian's
// builds do) leaves __FILE__ relative to a folder the tests do not run in.
fs::path SourceRoot() {
  return fs::path(MORVA_SOURCE_DIR) / "src";
}

}  // namespace

TEST(Architecture, NoIncludePointsUpOrReachesTheWindowSystem) {
  std::vector<Include> includes = ReadIncludes(SourceRoot());
  ASSERT_GT(includes.size(), 100u) << "the include scan found almost nothing in " << SourceRoot();
  std::vector<std::string> bad = Violations(includes);
  std::string report;
  for (const std::string& line : bad) report += line + "\n";
  EXPECT_TRUE(bad.empty()) << report;
}

// The rules themselves, on include lines made up for the purpose.
TEST(Architecture, TheTableRefusesWhatItShould) {
  struct Row {
    Include include;
    bool allowed;
  };
  const Row rows[] = {
      {{"formats/targa.cpp", 1, "app/game_state.hpp", true}, false},
      {{"formats/targa.cpp", 1, "base/types.hpp", true}, true},
      {{"gfx/anim.cpp", 1, "app/game_state.hpp", true}, false},
      {{"gfx/anim.cpp", 1, "base/messages.hpp", true}, true},
      {{"gfx/load.cpp", 1, "content/level_map.hpp", true}, false},
      {{"audio/sound.cpp", 1, "gfx/draw.hpp", true}, false},
      {{"base/messages.cpp", 1, "app/platform.hpp", true}, false},
      {{"game/level.cpp", 1, "platform/gl_renderer.hpp", true}, false},
      {{"game/level.cpp", 1, "SDL2/SDL.h", false}, false},
      {{"fx/particles.cpp", 1, "GL/gl.h", false}, false},
      {{"fx/particles.cpp", 1, "ui/hud.hpp", true}, false},
      {{"game/level.cpp", 1, "ui/hud.hpp", true}, true},
      {{"game/level.cpp", 1, "fx/scene.hpp", true}, true},
      {{"game/guard.cpp", 1, "fx/scene.hpp", true}, false},
      {{"game/scoring.cpp", 1, "ui/hud.hpp", true}, false},
      {{"fx/scene.cpp", 1, "game/level_frame.hpp", true}, true},
      {{"fx/scene.cpp", 1, "app/game_state.hpp", true}, false},
      {{"game/hits.cpp", 1, "app/game_state.hpp", true}, false},
      {{"game/level.cpp", 1, "app/input.hpp", true}, false},
      {{"game/level.cpp", 1, "cmath", false}, true},
      {{"platform/sdl_platform.cpp", 1, "SDL2/SDL.h", false}, true},
      {{"ui/menu.cpp", 1, "platform/sdl_platform.hpp", true}, false},
      {{"newfolder/x.cpp", 1, "base/types.hpp", true}, false},
      {{"main.cpp", 1, "platform/sdl_program.hpp", true}, true},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Violation(row.include).empty(), row.allowed)
        << row.include.file << " -> " << row.include.target;
  }
}

// The game and its drawing work on the frame they are handed: no file of theirs names the
// program's global state.
TEST(Architecture, TheGameAndItsDrawingReadNoGlobalState) {
  static const std::regex kGlobal(R"(\bgameState\b)");
  std::string report;
  for (const char* folder : {"game", "fx"}) {
    for (const auto& entry : fs::recursive_directory_iterator(SourceRoot() / folder)) {
      std::ifstream in(entry.path());
      std::string text;
      for (int number = 1; std::getline(in, text); ++number) {
        if (std::regex_search(text, kGlobal))
          report += entry.path().generic_string() + ":" + std::to_string(number) + "\n";
      }
    }
  }
  EXPECT_TRUE(report.empty()) << "gameState named in:\n" << report;
}
