// morva-check: says, for every file the game opens, whether it is there and whether it parses.
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "check/content_check.hpp"

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")))) {
    std::fprintf(stderr,
                 "usage: morva-check [ROOT]\nChecks ROOT/data (default: the working folder).\n");
    return argc > 2 ? 2 : 0;
  }
  std::filesystem::path root = argc == 2 ? argv[1] : ".";
  int failures = 0, total = 0;
  for (const CheckResult& r : CheckContent(root)) {
    ++total;
    if (!r.ok) ++failures;
    std::printf("%-5s %-44s %s\n", r.ok ? "ok" : "FAIL", r.gamePath.c_str(), r.note.c_str());
  }
  std::printf("%d of %d paths are in order\n", total - failures, total);
  return failures == 0 ? 0 : 1;
}
