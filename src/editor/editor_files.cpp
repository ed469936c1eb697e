// The level editor's files and the game it starts: saving the level, and play-testing it.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/child_process.hpp"
#include "app/lasting_notice.hpp"
#include "app/level_file.hpp"
#include "base/backends.hpp"
#include "base/content_paths.hpp"
#include "base/whole_file.hpp"
#include "editor/editor.hpp"
#include "gfx/load.hpp"
#include "gfx/renderer.hpp"

namespace fs = std::filesystem;

void Editor::Save() {
  const std::string failure = WriteWholeFile(setup_.file, doc_.Text());
  if (failure.empty()) {
    doc_.MarkSaved();
    message_ = "saved " + setup_.file.string();
  } else {
    message_ = "could not save " + setup_.file.string() + ": " + failure;
  }
}

std::optional<fs::path> Editor::WriteCacheCopy(const std::string& name, const std::string& text) {
  const fs::path file = LevelCacheRoot().parent_path() / name;
  const std::string failure = WriteWholeFile(file, text);
  if (failure.empty()) return file;
  message_ = "could not write " + file.string() + ": " + failure;
  return std::nullopt;
}

void Editor::PlayTest(bool fromCursor) {
  if (game_ > 0) {
    message_ = "the game is still running";
    return;
  }
  LevelDocument copy = doc_;
  if (fromCursor) {
    LevelCharacter player = copy.Source().characters.front();
    player.x = CursorWorldX();
    player.y = CursorWorldY();
    if (!copy.ChangeCharacter(0, player)) {
      message_ = "the player cannot start there";
      return;
    }
  }
  const std::optional<fs::path> file = WriteCacheCopy("play-test.lvl", copy.Text());
  if (!file) return;
  // Straight into the level: the intro and the menu would stand between every edit and its test.
  std::vector<std::string> args = {setup_.game.string(), "--windowed", "--level", file->string(),
                                   "--play"};
  if (!setup_.contentRoot.empty()) {
    args.push_back("--root");
    args.push_back(setup_.contentRoot.string());
  }
  std::optional<pid_t> game = StartProgram(std::move(args));
  if (!game) {
    message_ = "could not start " + setup_.game.string();
    return;
  }
  game_ = *game;
  message_ = "playing the level: close the game to come back";
}

bool Editor::Poll() {
  if (game_ <= 0) return false;
  int status = 0;
  if (waitpid(game_, &status, WNOHANG) != game_) return false;
  game_ = 0;
  message_ = WIFEXITED(status) && WEXITSTATUS(status) == 0
                 ? "back from the game"
                 : "the game ended with status " + std::to_string(WEXITSTATUS(status));
  return true;
}

void Editor::TogglePicture() {
  showPicture_ = !showPicture_ || pictureVersion_ != doc_.Version();
  if (!showPicture_) {
    message_.clear();
    return;
  }
  if (pictureVersion_ == doc_.Version()) return;
  // The same cache the game plays from: the compiler runs once per text.
  const std::optional<fs::path> file = WriteCacheCopy("picture.lvl", doc_.Text());
  if (!file) {
    showPicture_ = false;
    return;
  }
  PreparedLevel compiled = PrepareLevel(*file, setup_.game);
  if (!compiled.folder) {
    message_ = "the level's picture cannot be made";
    PostLastingNotice(message_ + ":", compiled.error);
    showPicture_ = false;
    return;
  }
  backends.content->SetLevelOverlay(*compiled.folder);
  for (Texture t : picture_) {
    if (t != 0) backends.renderer->DeleteTexture(t);
  }
  picture_.clear();
  const LevelSource& src = doc_.Source();
  for (int screen = 0; screen < src.width * src.height; ++screen) {
    picture_.push_back(cLoad::LoadDXT("data\\levels\\level1\\" + std::to_string(screen) + ".dxt"));
  }
  pictureVersion_ = doc_.Version();
  message_ = "the level's picture behind the grid (B: off; after an edit, B shows it anew)";
}

Editor::~Editor() {
  if (game_ > 0) kill(game_, SIGTERM);
}
