// Soaks: the game fed random but valid input (keys, text, mouse moves and clicks, focus changes)
// and random time steps of 0 to 100 ms, or (--play) played by the scripted player with noise over
// its keys, headless or in a window on the GL renderer, for a given time. Resident memory is
// printed at every sample; a session that the input ends is followed by another in the same
// process. A played soak fails when the level was never ended or started again, when less than
// 80 % of its frames were in the level, or when its resident memory grew by 1 MiB or more after
// the first five minutes; with --errors-only (a sanitizer build, too slow to reach the level's end
// in a short run) only a session that ends in a fault or in a state the input cannot leave fails.
//   morva_soak --root DIR --seconds N [--seed N] [--gl] [--play] [--errors-only]
//              [--sample-seconds N]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/game_state.hpp"
#include "app/headless_platform.hpp"
#include "app/program.hpp"
#include "audio/headless_audio.hpp"
#include "gfx/recorder_renderer.hpp"
#include "platform/sdl_program.hpp"
#include "playing_input.hpp"
#include "random_input.hpp"

namespace {
struct SoakOptions {
  std::string root;
  double seconds = 60;
  uint32_t seed = 1;
  bool gl = false;
  bool play = false;
  bool errorsOnly = false;
  double sampleSeconds = 60;
};

bool ParseArgs(int argc, char** argv, SoakOptions& o) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--gl" || arg == "--play" || arg == "--errors-only") {
      (arg == "--gl" ? o.gl : arg == "--play" ? o.play : o.errorsOnly) = true;
      continue;
    }
    if (i + 1 >= argc) return false;
    std::string v = argv[++i];
    if (arg == "--root") {
      o.root = v;
    } else if (arg == "--seconds") {
      o.seconds = std::atof(v.c_str());
    } else if (arg == "--seed") {
      o.seed = static_cast<uint32_t>(std::strtoul(v.c_str(), nullptr, 10));
    } else if (arg == "--sample-seconds") {
      o.sampleSeconds = std::atof(v.c_str());
    } else {
      return false;
    }
  }
  return !o.root.empty() && o.seconds > 0 && o.sampleSeconds > 0;
}

ProgramOptions GameOptions(const SoakOptions& soak, const std::filesystem::path& config) {
  ProgramOptions o;
  o.root = soak.root;
  o.config = config.string();
  o.headless = !soak.gl;
  o.windowed = soak.gl;
  o.frameMs = 10;  // replaced by a random step every frame
  o.seed = soak.seed;
  return o;
}

// Memory is let settle this long before its growth is judged.
constexpr double kSettleSeconds = 300;

int RunSession(const SoakOptions& soak, const ProgramOptions& options, SoakClock& clock,
               SoakInput& input, std::unique_ptr<SoakPlatform<SdlPlatform>>& window) {
  if (!soak.gl) {
    SoakPlatform<HeadlessPlatform> platform(clock, input);
    HeadlessAudio audio;
    RecorderRenderer renderer;
    return RunProgram(options, platform, renderer, audio);
  }
  // One window for every session: after SDL_Quit, SDL's X11 driver did not come back in the same
  // process (the second session fell back to the offscreen driver), which the game, one session
  // per process, never meets.
  if (!window) window = std::make_unique<SoakPlatform<SdlPlatform>>(clock, input, false, true);
  if (!window->Ok()) {
    std::fprintf(stderr, "morva_soak: %s\n", window->Error().c_str());
    return 4;
  }
  return RunInWindow(options, *window);
}
}  // namespace

int main(int argc, char** argv) {
  SoakOptions soak;
  if (!ParseArgs(argc, argv, soak)) {
    std::fprintf(stderr,
                 "usage: morva_soak --root DIR --seconds N [--seed N] [--gl] [--play] "
                 "[--sample-seconds N]\n");
    return 2;
  }
  auto folder = std::filesystem::temp_directory_path() /
                ("morva_soak_" + std::to_string(soak.seed) + (soak.gl ? "_gl" : ""));
  std::filesystem::create_directories(folder);
  ProgramOptions options = GameOptions(soak, folder / "config.dat");
  SoakClock clock(soak.seconds, soak.sampleSeconds);
  std::unique_ptr<SoakInput> played;
  if (soak.play) {
    played = std::make_unique<PlayingInput>(soak.seed);
  } else {
    played = std::make_unique<RandomInput>(soak.seed);
  }
  SoakInput& input = *played;
  int sessions = 0;
  std::unique_ptr<SoakPlatform<SdlPlatform>> window;
  while (!clock.Over()) {
    ++sessions;
    int status = RunSession(soak, options, clock, input, window);
    if (input.Stuck()) {
      const ModeFlags& f = gameState.flags;
      std::printf(
          "session %d stuck after %lld frames: a paused level with no menu or screen "
          "(inGame %d paused %d menu %d options %d training %d statistics %d finished %d "
          "loaded %d)\n",
          sessions, static_cast<long long>(input.Frames()), f.inGame, f.paused, f.menuShown,
          f.optionsShown, f.trainerShown, f.statsShown, f.levelFinished, f.levelLoaded);
      return 1;
    }
    if (status != 0) {
      std::printf("session %d ended with status %d after %lld frames\n", sessions, status,
                  static_cast<long long>(input.Frames()));
      return 1;
    }
  }
  clock.Sample(input.Frames());
  const double levelShare = 100.0 * input.LevelFrames() / std::max<int64_t>(1, input.Frames());
  std::printf(
      "%.0f s, %d sessions, %lld frames (%lld in the level: %.1f %%; its end reached %d times, "
      "started again %d times), %lld events; resident memory %s\n",
      clock.Elapsed(), sessions, static_cast<long long>(input.Frames()),
      static_cast<long long>(input.LevelFrames()), levelShare, input.LevelEnds(), input.Restarts(),
      static_cast<long long>(input.Events()), clock.Summary().c_str());
  std::filesystem::remove_all(folder);
  if (!soak.play || soak.errorsOnly) return 0;
  std::optional<double> growth = clock.GrowthAfter(kSettleSeconds);
  if (growth) std::printf("grew %.2f MiB after the first %.0f s\n", *growth, kSettleSeconds);
  const bool playedIt = input.LevelEnds() > 0 && input.Restarts() > 0;
  return playedIt && levelShare >= 80 && (!growth || *growth < 1.0) ? 0 : 1;
}
