// Fuzz target: config.dat as the game reads it at start-up, from a file of any length.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "formats/config_record.hpp"
#include "fuzz_check.hpp"
#include "ui/config.hpp"

namespace {
const std::filesystem::path& ConfigFile() {
  static const std::filesystem::path path = [] {
    auto dir =
        std::filesystem::temp_directory_path() / ("morva_fuzz_config_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return dir / "config.dat";
  }();
  return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A new file each time: truncating the old one makes ext4 flush it to disk on close, which
  // slowed every run to the speed of the disk.
  std::error_code ec;
  std::filesystem::remove(ConfigFile(), ec);
  {
    std::ofstream out(ConfigFile(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  SetConfigPath(ConfigFile());
  Settings settings;
  LoadConfig(settings);
  ConfigRecord written = EncodeSettings(settings);
  if (size < kConfigRecordSize) {
    FuzzCheck(written == EncodeSettings(DefaultSettings()), "a short file gives the defaults");
    return 0;
  }
  // The padding bytes (3, 9..11) are dropped; every other byte is a setting kept as it was.
  for (size_t i : {0, 1, 2, 4, 5, 6, 7, 8}) FuzzCheck(written[i] == data[i], "settings kept");
  return 0;
}
