// playthrough: plays the demo level headless from the intro to the statistics screen, back to the
// menu and into the level again, and records the session as an input script that replays it.
//   playthrough CONTENT_ROOT RECORDING EXPECTATION [SEED]
// EXPECTATION receives the statistics the level ended with, which the replay must show again.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/headless_platform.hpp"
#include "app/program.hpp"
#include "audio/headless_audio.hpp"
#include "gfx/recorder_renderer.hpp"
#include "session.hpp"

namespace {

// The program's window system, with the session's player at the keyboard.
class PlayerPlatform : public HeadlessPlatform {
 public:
  bool PollEvent(Event& event) override {
    if (!planned_) {
      pending_ = session.Plan(frame_);
      planned_ = true;
    }
    if (pending_.empty()) {
      planned_ = false;
      ++frame_;
      return false;
    }
    event = pending_.front();
    pending_.pop_front();
    return true;
  }
  PlaythroughSession session;

 private:
  std::deque<Event> pending_;
  bool planned_ = false;
  int64_t frame_ = 0;
};

// Ten minutes of play at most: a player that gets nowhere ends the run instead of looping.
constexpr int64_t kMaxFrames = 60000;

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5) {
    std::fprintf(stderr, "usage: playthrough CONTENT_ROOT RECORDING EXPECTATION [SEED]\n");
    return 2;
  }
  ProgramOptions options;
  options.headless = true;
  options.root = argv[1];
  options.record = argv[2];
  options.frameMs = 10;
  options.seed = argc == 5 ? static_cast<uint32_t>(std::strtoul(argv[4], nullptr, 10)) : 1;
  options.frames = kMaxFrames;
  // Default settings, whatever the user has chosen: the recording must replay on any machine.
  std::filesystem::path config = std::filesystem::temp_directory_path() / "playthrough-config.dat";
  std::filesystem::remove(config);
  options.config = config.string();

  HeadlessAudio audio;
  PlayerPlatform platform;
  RecorderRenderer renderer;
  int status = RunProgram(options, platform, renderer, audio);
  std::filesystem::remove(config);
  std::printf("%s", platform.session.Report().c_str());
  if (status != 0) return status;
  if (!platform.session.Succeeded()) return 1;
  std::ofstream expectation(argv[3], std::ios::trunc);
  expectation << platform.session.Expectation();
  if (!expectation) {
    std::fprintf(stderr, "playthrough: cannot write %s\n", argv[3]);
    return 2;
  }
  return 0;
}
