// Reading and writing config.dat.
#include "ui/config.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "base/messages.hpp"
#include "formats/config_record.hpp"

namespace fs = std::filesystem;

namespace {
fs::path& StoredPath() {
  static fs::path path = "config.dat";
  return path;
}

fs::path XdgConfigDir() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return fs::path(xdg) / "morva";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : ".") / ".config" / "morva";
}

void ReportSaveFailure(const std::string& reason) {
  ShowMessageUtf8("MORVA",
                  "Settings could not be saved to " + ConfigPath().string() + ": " + reason);
}
}  // namespace

fs::path ChooseConfigPath(const std::optional<std::string>& configOption) {
  if (configOption) return *configOption;
  if (access(".", W_OK) == 0) return "config.dat";
  return XdgConfigDir() / "config.dat";
}

void SetConfigPath(fs::path path) {
  StoredPath() = std::move(path);
}
const fs::path& ConfigPath() {
  return StoredPath();
}

void LoadConfig(Settings& settings) {
  std::error_code ec;
  if (!fs::exists(ConfigPath(), ec)) {
    settings = DefaultSettings();
    SaveConfig(settings);
    return;
  }
  std::ifstream in(ConfigPath(), std::ios::binary);
  ConfigRecord bytes{};
  if (in && !fs::is_directory(ConfigPath(), ec) &&
      in.read(reinterpret_cast<char*>(bytes.data()), bytes.size()) &&
      in.gcount() == static_cast<std::streamsize>(bytes.size())) {
    settings = DecodeSettings(bytes);
    return;
  }
  // Unreadable or short: the defaults, and the next save writes a whole record.
  settings = DefaultSettings();
}

bool SaveConfig(const Settings& settings) {
  const fs::path& target = ConfigPath();
  std::error_code ec;
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  fs::path temp = target;
  temp += ".tmp";
  ConfigRecord bytes = EncodeSettings(settings);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      ReportSaveFailure(std::strerror(errno));
      return false;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temp, ec);
      ReportSaveFailure("write failed");
      return false;
    }
  }
  fs::rename(temp, target, ec);
  if (ec) {
    std::string reason = ec.message();
    fs::remove(temp, ec);
    ReportSaveFailure(reason);
    return false;
  }
  return true;
}
