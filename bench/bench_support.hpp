// Helpers the benchmarks share: shell commands, a scratch folder, the thread's CPU time and the
// content to load.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

inline bool Shell(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// A fresh folder under /tmp, removed with everything in it at the end.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& prefix) {
    std::string pattern = "/tmp/" + prefix + "_XXXXXX";
    path_ = mkdtemp(pattern.data());
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The content the benchmarks load: $MORVA_ROOT, or the demo content of the build run from the
// source folder.
inline std::filesystem::path ContentRoot() {
  const char* root = std::getenv("MORVA_ROOT");
  return root ? std::filesystem::path(root) : std::filesystem::path("build/content");
}
