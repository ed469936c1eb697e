// Settings under crashes: child processes (one, or as many as INSTANCES, as several copies of the
// game would) save config.dat through the game's own save code in a tight loop, alternating two
// records, and are killed with SIGKILL at a random moment; after each kill config.dat must hold
// one of the two records whole, and no save may have failed on the way. Prints how the kills fell
// and exits 1 on the first file that is anything else.
//   settings_kill_loop FOLDER [KILLS] [SEED] [INSTANCES]
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "formats/config_record.hpp"
#include "ui/config.hpp"

namespace fs = std::filesystem;

namespace {
Settings First() {
  return Settings{10, 20, 30, 640, 1};
}
Settings Second() {
  return Settings{200, 150, 100, -1, 0};
}

std::string AsText(const ConfigRecord& record) {
  return std::string(record.begin(), record.end());
}

std::string ReadWhole(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

[[noreturn]] void SaveForever() {
  for (;;) {
    if (!SaveConfig(First()) || !SaveConfig(Second())) _exit(2);
  }
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: settings_kill_loop FOLDER [KILLS] [SEED]\n");
    return 2;
  }
  const fs::path folder = argv[1];
  const int kills = argc > 2 ? std::atoi(argv[2]) : 1000;
  const int instances = argc > 4 ? std::max(1, std::atoi(argv[4])) : 1;
  std::mt19937 random(argc > 3 ? static_cast<uint32_t>(std::atoi(argv[3]))
                               : std::random_device{}());
  fs::create_directories(folder);
  SetConfigPath(folder / "config.dat");
  if (!SaveConfig(First())) return 2;
  const std::string first = AsText(EncodeSettings(First()));
  const std::string second = AsText(EncodeSettings(Second()));

  int sawFirst = 0, sawSecond = 0, tempLeft = 0;
  std::uniform_int_distribution<int> delayUs(0, 3000);
  for (int k = 0; k < kills; ++k) {
    std::vector<pid_t> savers;
    for (int i = 0; i < instances; ++i) {
      pid_t child = fork();
      if (child < 0) return 2;
      if (child == 0) SaveForever();
      savers.push_back(child);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
    for (pid_t child : savers) kill(child, SIGKILL);
    for (pid_t child : savers) {
      int status = 0;
      waitpid(child, &status, 0);
      if (!WIFSIGNALED(status)) {
        std::fprintf(stderr, "kill %d: a saver ended by itself (status %d)\n", k, status);
        return 1;
      }
    }
    std::string bytes = ReadWhole(ConfigPath());
    if (bytes == first) {
      ++sawFirst;
    } else if (bytes == second) {
      ++sawSecond;
    } else {
      std::fprintf(stderr, "kill %d: config.dat holds %zu bytes that are neither record\n", k,
                   bytes.size());
      return 1;
    }
    // A save killed half way leaves its own temporary; the next ones are never hindered by it.
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path().filename() == "config.dat") continue;
      ++tempLeft;
      fs::remove(entry.path());
    }
  }
  std::printf(
      "%d kills of %d saver(s): config.dat held the first record %d times, the second %d "
      "times; %d temporary files were left; never anything else\n",
      kills, instances, sawFirst, sawSecond, tempLeft);
  return 0;
}
