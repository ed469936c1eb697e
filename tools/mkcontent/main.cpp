// mkcontent: writes the demo content tree, every file the game opens, made from code.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include "mkcontent/jobs.hpp"
#include "mkcontent/preview.hpp"

#ifndef MORVA_LEVEL_SOURCE
#define MORVA_LEVEL_SOURCE "tools/levels/demo.lvl"
#endif

namespace fs = std::filesystem;

namespace {

constexpr char kMarker[] = ".morva-demo-content";

void Usage() {
  std::fprintf(stderr,
               "usage: mkcontent OUT [--level FILE [--level-only]] [--jobs N]\n"
               "       mkcontent --sheet KIND OUT.png     all frames of a character kind (0..3)\n"
               "       mkcontent --png FILE OUT.png       a .dxt/.dx/.tga/.jpg as a PNG\n"
               "Writes OUT/data/... with every file the game reads; with --level-only, only the\n"
               "level's own files (its map and pictures), which morva --level lays over its\n"
               "content.\n");
}

int Run(const fs::path& out, const fs::path& level, bool levelOnly, unsigned threads) {
  // Only a folder this tool made before is emptied; anything else is left alone.
  std::error_code ec;
  if (fs::exists(out / "data", ec)) {
    if (!fs::exists(out / kMarker, ec)) {
      std::fprintf(stderr, "mkcontent: %s already holds a data folder that it did not write\n",
                   out.string().c_str());
      return 1;
    }
    fs::remove_all(out / "data", ec);
  }
  fs::create_directories(out, ec);
  {
    std::FILE* f = std::fopen((out / kMarker).c_str(), "w");
    if (f) std::fclose(f);
  }

  JobList jobs;
  if (levelOnly) {
    AddLevelOwnJobs(jobs, level);
  } else {
    AddMusicJobs(jobs);
    AddCharacterJobs(jobs);
    AddLevelJobs(jobs, level);
    AddInterfaceJobs(jobs);
    AddFontJobs(jobs);
    AddFontLicenceJob(jobs);
    AddEffectJobs(jobs);
    AddSoundJobs(jobs);
  }
  std::stable_sort(jobs.begin(), jobs.end(),
                   [](const Job& a, const Job& b) { return a.weight > b.weight; });

  ContentWriter writer(out);
  std::atomic<std::size_t> next{0};
  std::mutex errorMutex;
  std::string firstError;
  auto worker = [&]() {
    for (std::size_t i; (i = next.fetch_add(1)) < jobs.size();) {
      try {
        jobs[i].run(writer);
      } catch (const std::exception& e) {
        std::lock_guard lock(errorMutex);
        if (firstError.empty()) firstError = jobs[i].name + ": " + e.what();
      }
    }
  };
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
  if (!firstError.empty()) {
    std::fprintf(stderr, "mkcontent: %s\n", firstError.c_str());
    return 1;
  }
  std::printf("mkcontent: wrote %d files to %s\n", writer.FilesWritten(), (out / "data").c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
    Usage();
    return 0;
  }
  try {
    if (argc == 4 && !std::strcmp(argv[1], "--sheet"))
      return WriteSheet(std::atoi(argv[2]), argv[3]);
    if (argc == 4 && !std::strcmp(argv[1], "--png")) return WritePreview(argv[2], argv[3]);
    if (argc < 2 || argv[1][0] == '-') {
      Usage();
      return 2;
    }
    fs::path level = MORVA_LEVEL_SOURCE;
    bool levelOnly = false;
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    for (int i = 2; i < argc; ++i) {
      if (!std::strcmp(argv[i], "--level") && i + 1 < argc) {
        level = argv[++i];
      } else if (!std::strcmp(argv[i], "--level-only")) {
        levelOnly = true;
      } else if (!std::strcmp(argv[i], "--jobs") && i + 1 < argc) {
        threads = static_cast<unsigned>(std::max(1, std::atoi(argv[++i])));
      } else {
        Usage();
        return 2;
      }
    }
    return Run(argv[1], level, levelOnly, threads);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mkcontent: %s\n", e.what());
    return 1;
  }
}
