// Shared test helpers.
#include "test_support.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/game_state.hpp"
#include "base/backends.hpp"

namespace fs = std::filesystem;

// Named with the process id too: ctest runs every test in its own process, in parallel.
TempDir::TempDir(const std::string& name)
    : path_(fs::path(MORVA_TEST_TMP) / (name + "-" + std::to_string(getpid()))) {
  std::error_code ec;
  fs::remove_all(path_, ec);
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

FakeBackends::FakeBackends(const fs::path& contentRoot) : content(contentRoot) {
  ResetGameState();
  backends = Backends{&platform, &renderer, &audio, &content};
}

FakeBackends::~FakeBackends() {
  backends = Backends{};
}

void PretendLevelLoaded() {
  gameState.flags.levelLoaded = 1;
  gameState.map.Width = 1;
  gameState.map.Height = 1;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

namespace {
std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}
}  // namespace

fs::path UserConfigFile(const fs::path& workDir) {
  return workDir / kUserConfigHome / "morva" / "config.dat";
}

RunResult RunGame(const std::vector<std::string>& args, const fs::path& workDir,
                  const std::string& input) {
  // A hung run fails its test instead of stalling the whole suite. The per-user folders are the
  // test's own, so no run reads or leaves files in the home folder of whoever runs the tests.
  std::string command = "cd " + Quote(workDir.string()) +
                        " && XDG_CONFIG_HOME=" + Quote((workDir / kUserConfigHome).string()) +
                        " XDG_DATA_HOME=" + Quote((workDir / kUserDataHome).string()) +
                        " XDG_CACHE_HOME=" + Quote((workDir / kUserCacheHome).string()) +
                        " timeout -k 5 120 " + Quote(MORVA_BINARY);
  for (const std::string& a : args) command += " " + Quote(a);
  if (!input.empty()) command += " < " + Quote(input);
  command += " 2>&1";
  RunResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    result.output.append(buffer.data(), n);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}
