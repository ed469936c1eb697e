// Replays files through a fuzz target without libFuzzer: each argument is a file or a folder of
// files, each file one input. Built with any compiler, so the normal test run keeps every finding
// of the corpus fixed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

namespace {
bool Replay(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", file.c_str());
    return false;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  int replayed = 0;
  bool ok = true;
  for (int i = 1; i < argc; ++i) {
    std::vector<fs::path> files;
    if (fs::is_directory(argv[i])) {
      for (const auto& entry : fs::directory_iterator(argv[i])) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
      std::sort(files.begin(), files.end());
    } else {
      files.push_back(argv[i]);
    }
    for (const fs::path& file : files) {
      ok = Replay(file) && ok;
      ++replayed;
    }
  }
  std::printf("%d inputs replayed\n", replayed);
  if (replayed == 0) {
    std::fprintf(stderr, "no input to replay\n");
    return 1;
  }
  return ok ? 0 : 1;
}
