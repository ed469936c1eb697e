// Starting and waiting for other programs.
#include "app/child_process.hpp"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

extern char** environ;

std::optional<pid_t> StartProgram(std::vector<std::string> args) {
  if (args.empty()) return std::nullopt;
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return std::nullopt;
  return pid;
}

bool WaitForProgram(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
