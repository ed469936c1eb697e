// The command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct ProgramOptions {
  std::optional<std::string> root;
  std::optional<std::string> config;
  // --windowed or --fullscreen: for this run only, over what settings.cfg says.
  std::optional<bool> windowed;
  bool headless = false;
  // --no-draw: the level's frames run their rules and effects with nothing drawn.
  bool noDraw = false;
  int64_t frames = 0;  // 0: until quit
  std::optional<double> frameMs;
  std::optional<uint32_t> seed;
  std::optional<std::string> input;
  std::optional<std::string> dumpState;
  std::optional<std::string> screenshot;
  std::optional<std::string> record;
  // A level source file to play instead of the content's own level.
  std::optional<std::string> level;
  // --play: the level starts at once, as if Start was chosen in the menu (the intro and the menu
  // skipped); the level editor's play-test.
  bool play = false;
  // Not from the command line: the folder of the compiled --level, laid over the content root.
  std::optional<std::string> levelFolder;
  bool help = false;
  bool version = false;
  bool printPaths = false;

  // A player at the window, who may have no terminal (started from a desktop entry): no window-
  // less, scripted or counted run, whose output somebody reads and whose input must reach the
  // game unchanged.
  bool Interactive() const { return !headless && !input && frames == 0; }
};

struct ParseResult {
  std::optional<ProgramOptions> options;  // empty on error
  std::string error;
};

ParseResult ParseCommandLine(int argc, const char* const* argv);
// The one-paragraph synopsis printed with a command-line error.
const char* UsageText();
// Everything --help says: each option, where content, settings and screenshots are looked for,
// the environment variables and the exit statuses.
std::string HelpText();
// What --print-paths says: where content, settings and screenshots would be found in this run.
std::string PathsReport(const ProgramOptions& options);
