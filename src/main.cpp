// Program entry: reads the command line, picks the back ends and runs the game.
#include <cstdio>
#include <cstdlib>

#include "app/program.hpp"
#include "harness/options.hpp"
#include "platform/gl_renderer.hpp"
#include "platform/headless_audio.hpp"
#include "platform/headless_platform.hpp"
#include "platform/recorder_renderer.hpp"
#include "platform/sdl_audio.hpp"
#include "platform/sdl_platform.hpp"

int main(int argc, char** argv) {
  ParseResult parsed = ParseCommandLine(argc, argv);
  if (!parsed.options) {
    std::fprintf(stderr, "morva: %s\n%s", parsed.error.c_str(), UsageText());
    return 2;
  }
  const ProgramOptions& options = *parsed.options;
  if (options.help) {
    std::printf("%s", UsageText());
    return 0;
  }
  if (options.version) {
    std::printf("morva %s\n", MORVA_VERSION);
    return 0;
  }

  HeadlessAudio audio;
  if (options.headless) {
    HeadlessPlatform platform;
    HeadlessPlatform::CloseOnSignals();
    RecorderRenderer renderer;
    return RunProgram(options, platform, renderer, audio);
  }

  bool interactive = !options.input && options.frames == 0;
  SdlPlatform platform(interactive, options.windowed);
  if (!platform.Ok()) {
    std::fprintf(stderr, "morva: %s\n(use --headless to run without a display)\n",
                 platform.Error().c_str());
    return 4;
  }
  GlRenderer renderer(platform);
  // The game needs no sound to be played: without a device it runs silent on the headless one.
  SdlAudio sdlAudio;
  if (sdlAudio.Init(kMixRate)) return RunProgram(options, platform, renderer, sdlAudio);
  std::fprintf(stderr, "morva: no sound device (%s); playing without sound\n",
               sdlAudio.Error().c_str());
  return RunProgram(options, platform, renderer, audio);
}
