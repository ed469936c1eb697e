// The texts of --help and --print-paths.
#include <filesystem>

#include "app/level_file.hpp"
#include "base/content_paths.hpp"
#include "base/whole_file.hpp"
#include "harness/options.hpp"
#include "ui/config.hpp"

namespace fs = std::filesystem;

std::string HelpText() {
  std::string text = UsageText();
  text +=
      "\n"
      "A 2D side-scrolling action game: fight your way through the keep.\n"
      "\n"
      "Options (--option=VALUE is the same as --option VALUE):\n"
      "  --root DIR         read the game content from DIR/data\n"
      "  --level FILE.lvl   play the level source FILE.lvl (see \"Making levels\" in the\n"
      "                     README); it is compiled once into the level cache\n"
      "  --play             start playing the level at once, as if Start was chosen in\n"
      "                     the menu: no intro, no menu (Escape pauses as ever)\n"
      "  --config FILE      keep the settings in FILE (otherwise config.dat, see below)\n"
      "  --windowed         play in an 800 x 600 window that can be resized\n"
      "  --fullscreen       play full screen (the default; Alt+Enter switches in play)\n"
      "  --headless         run without window, sound or picture (scripts and tests)\n"
      "  --no-draw          run the level's frames without drawing them; the game and\n"
      "                     its effects go on exactly as drawn (headless checks)\n"
      "  --frames N         stop after N frames (0, the default: run until quit)\n"
      "  --frame-ms MS      give every frame a fixed time step of MS milliseconds\n"
      "  --seed N           a fixed random seed, so that a run repeats exactly\n"
      "  --input FILE       take the player's input from the input script FILE\n"
      "  --record FILE      write what the player does to FILE, for --input to replay\n"
      "  --dump-state FILE  write the game state as JSON to FILE after the last frame\n"
      "  --screenshot FILE  save the last frame as a PNG picture (needs a window)\n"
      "  --print-paths      print where content, settings and screenshots would be\n"
      "  -h, --help         print this help and exit\n"
      "  -V, --version      print the version and exit\n"
      "\n"
      "Content: the first of these folders that holds a \"data\" folder:\n"
      "  1. the folder given with --root (then no other is tried)\n"
      "  2. $MORVA_ROOT\n"
      "  3. the working directory\n"
      "  4. <program's folder>/" MORVA_CONTENT_FROM_PROGRAM
      " (a moved install)\n"
      "  5. " MORVA_INSTALL_CONTENT_DIR
      " (the installed content)\n"
      "\n"
      "Settings and screenshots: a working directory that holds a \"data\" folder or a\n"
      "config.dat is a portable install, and keeps config.dat and the F12 screenshots.\n"
      "Otherwise config.dat lives in $XDG_CONFIG_HOME/morva (default ~/.config/morva)\n"
      "and screenshots go to $XDG_DATA_HOME/morva/screenshots (default\n"
      "~/.local/share/morva/screenshots). --config FILE puts the settings in FILE.\n"
      "settings.cfg beside config.dat holds what is edited by hand: window = fullscreen\n"
      "or WIDTHxHEIGHT (kept from Alt+Enter and resizing), vsync = on|off, flashes =\n"
      "full|reduced. --windowed and --fullscreen override its window for one run.\n"
      "It also binds keys and controller buttons to the actions left, right, jump,\n"
      "crouch, attack1..attack4, power and pause: attack1 = Z, Keypad 1 | a\n"
      "\n"
      "Environment:\n"
      "  MORVA_ROOT         the content folder (see above)\n"
      "  XDG_CONFIG_HOME    the per-user settings folder (see above)\n"
      "  XDG_DATA_HOME      the per-user data folder, for screenshots (see above)\n"
      "  XDG_CACHE_HOME     the per-user cache, for compiled levels (default\n"
      "                     ~/.cache/morva/levels)\n"
      "  MORVA_LEVEL_COMPILER  the level compiler --level runs (default: mkcontent\n"
      "                     beside the game)\n"
      "  SDL_VIDEODRIVER    the video driver; only when named here do \"offscreen\" and\n"
      "                     \"dummy\" run the game without a display\n"
      "  SDL_AUDIODRIVER    the sound driver (\"dummy\" plays silently)\n"
      "\n"
      "Exit status:\n"
      "  0  normal end\n"
      "  2  bad command line, input script or level file\n"
      "  3  fatal error: no usable content or level, an index out of range, an output\n"
      "     (--dump-state, --screenshot) that could not be written\n"
      "  4  no display, or no OpenGL context could be had\n"
      "Ctrl+C, SIGTERM and SIGHUP end the game as closing its window does; a second one\n"
      "ends it at once (status 128 + the signal) with its settings written.\n";
  return text;
}

namespace {
std::string Absolute(const fs::path& path) {
  std::error_code ec;
  fs::path full = fs::absolute(path, ec);
  return (ec ? path : full.lexically_normal()).string();
}

// Where the level file's compiled files are kept, and whether they are there yet.
std::string LevelCacheReport(const std::string& file) {
  std::optional<std::string> bytes = ReadWholeFile(file);
  if (!bytes) return "  " + file + ": cannot be read\n";
  const fs::path folder = LevelCacheFolder(*bytes);
  std::error_code ec;
  const bool there = fs::exists(folder, ec);
  return "  " + file + ": " + Absolute(folder) +
         (there ? " (compiled)\n" : " (not compiled yet)\n");
}
}  // namespace

std::string PathsReport(const ProgramOptions& options) {
  std::string text;
  ContentSearch search = FindContentRoot(options.root);
  if (search.root) {
    text += "content: " + Absolute(*search.root) + "\n";
  } else {
    text += "content: none found\n";
  }
  text += "  looked in, in this order:\n";
  for (const std::string& tried : search.tried) text += "    " + tried + "\n";
  UserPaths user = ChooseUserPaths(options.config);
  text += "settings: " + Absolute(user.config) + "\n";
  text += "settings edited by hand: " + Absolute(user.settings) + "\n";
  text += "screenshots: " + Absolute(user.screenshots) + "\n";
  text += user.portable ? "(a portable install: the working directory keeps the player's files)\n"
                        : "(per-user folders)\n";
  text += "level cache: " + Absolute(LevelCacheRoot()) + "\n";
  if (options.level) text += LevelCacheReport(*options.level);
  return text;
}
