// Program entry: reads the command line, picks the back ends and runs the game.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/headless_platform.hpp"
#include "app/level_file.hpp"
#include "app/program.hpp"
#include "app/video_driver.hpp"
#include "audio/headless_audio.hpp"
#include "base/content_paths.hpp"
#include "gfx/recorder_renderer.hpp"
#include "harness/options.hpp"
#include "platform/sdl_program.hpp"
#include "ui/config.hpp"

namespace {

// Each line of the refusal on the terminal and, in an interactive run, in a message box.
void TellLevelRefused(const ProgramOptions& options, const std::string& error) {
  std::istringstream lines(error);
  for (std::string line; std::getline(lines, line);) {
    std::fprintf(stderr, "morva: %s\n", line.c_str());
  }
  if (options.Interactive()) {
    ShowMessageWithoutWindow("morva", "This level cannot be played:\n\n" + error);
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Pictures, sounds and the driver's textures are large buffers, freed when a picture is set
  // aside or a level loads again. Served from pages of their own they go back to the system when
  // freed; glibc would raise this threshold at the first such free and keep the next ones in the
  // heap, where the holes they leave stay resident. Below 256 KiB the start-up's many smaller
  // buffers would each cost fresh pages.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
  ParseResult parsed = ParseCommandLine(argc, argv);
  if (!parsed.options) {
    std::fprintf(stderr, "morva: %s\n%sTry morva --help for more.\n", parsed.error.c_str(),
                 UsageText());
    return 2;
  }
  ProgramOptions& options = *parsed.options;
  if (options.help) {
    std::printf("%s", HelpText().c_str());
    return 0;
  }
  if (options.version) {
    std::printf("morva %s\n", MORVA_VERSION);
    return 0;
  }
  if (options.printPaths) {
    std::printf("%s", PathsReport(options).c_str());
    return 0;
  }
  // A level file with mistakes is refused before any window opens.
  if (options.level) {
    PreparedLevel level = PrepareLevel(*options.level, RunningExecutable());
    if (!level.folder) {
      TellLevelRefused(options, level.error);
      return level.status;
    }
    options.levelFolder = level.folder->string();
  }

  if (options.headless) {
    HeadlessAudio audio;
    HeadlessPlatform platform;
    HeadlessPlatform::CloseOnSignals();
    RecorderRenderer renderer;
    return RunProgram(options, platform, renderer, audio);
  }

  bool interactive = options.Interactive();
  // How the game shows itself: settings.cfg, unless the command line says otherwise for this run.
  PlayerSettings shown = LoadPlayerSettings(ChooseUserPaths(options.config).settings, false);
  WindowChoice window = shown.window;
  if (options.windowed) window = *options.windowed ? WindowChoice{false, 800, 600} : WindowChoice{};
  SdlPlatform platform(interactive, !window.fullScreen, window.width, window.height, shown.vsync);
  if (!platform.Ok()) {
    std::fprintf(stderr, "morva: %s\n%s", platform.Error().c_str(), NoDisplayAdvice());
    return 4;
  }
  return RunInWindow(options, platform);
}
