// Helpers shared by the tests: a fresh program state on fake back ends, scratch folders, and
// running the real binary.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/game_state.hpp"
#include "app/headless_platform.hpp"
#include "audio/headless_audio.hpp"
#include "base/content_paths.hpp"
#include "gfx/recorder_renderer.hpp"

// A scratch folder under the build tree, emptied when made and removed at the end.
class TempDir {
 public:
  explicit TempDir(const std::string& name);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// The program state reset and wired to the fake back ends, with a content root.
struct FakeBackends {
  explicit FakeBackends(const std::filesystem::path& contentRoot);
  ~FakeBackends();
  HeadlessPlatform platform;
  RecorderRenderer renderer;
  HeadlessAudio audio;
  ContentPaths content;
};

// For tests of the main loop that are not about the level: a one-screen level without units
// counts as loaded, so entering the game runs an empty level instead of loading one.
void PretendLevelLoaded();

void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

struct RunResult {
  int status = -1;
  std::string output;  // stdout and stderr together
};
// Runs the game binary with these arguments in `workDir`, with $XDG_CONFIG_HOME,
// $XDG_DATA_HOME and $XDG_CACHE_HOME set to these folders inside it.
constexpr const char* kUserConfigHome = "xdg-config";
constexpr const char* kUserDataHome = "xdg-data";
constexpr const char* kUserCacheHome = "xdg-cache";
// Runs the game binary in workDir; `input`, when given, is a file of workDir fed to its
// standard input.
RunResult RunGame(const std::vector<std::string>& args, const std::filesystem::path& workDir,
                  const std::string& input = "");
// Where such a run keeps config.dat when `workDir` is not a portable install (no data folder and
// no config.dat in it).
std::filesystem::path UserConfigFile(const std::filesystem::path& workDir);

// For calling one step of the level on its own: the level's frame, and the drawing's, as the
// program stands now.
inline LevelFrame Frame() {
  return CurrentLevelFrame();
}
inline SceneFrame Scene() {
  return CurrentSceneFrame();
}
