// Reading and writing config.dat.
#include "ui/config.hpp"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "base/content_paths.hpp"
#include "base/messages.hpp"
#include "base/whole_file.hpp"
#include "formats/config_record.hpp"

namespace fs = std::filesystem;

namespace {
fs::path& StoredPath() {
  static fs::path path = "config.dat";
  return path;
}

// The record config.dat holds as far as this run knows: what it read or last wrote. Empty until
// the file has been read.
std::optional<ConfigRecord>& StoredRecord() {
  static std::optional<ConfigRecord> record;
  return record;
}

void ReportSaveFailure(const fs::path& path, const std::string& reason) {
  ShowMessageUtf8("MORVA", "Settings could not be saved to " + path.string() + ": " + reason);
}

// A device or FIFO named as a settings file (--config /dev/null keeps no settings): it is named
// once when read, and never read or replaced.
bool SpecialFile(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  return fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status);
}

void NoteSpecialFile(const fs::path& path) {
  NoteMessageUtf8("MORVA", "Settings file " + path.string() +
                               " is not a regular file: it is neither read nor written");
}
}  // namespace

bool IsPortableInstall(const fs::path& dir) {
  std::error_code ec;
  return HasDataFolder(dir) || fs::exists(dir / "config.dat", ec);
}

UserPaths ChooseUserPaths(const std::optional<std::string>& configOption) {
  UserPaths paths;
  std::error_code ec;
  fs::path here = fs::current_path(ec);
  paths.portable = !ec && IsPortableInstall(here) && access(here.c_str(), W_OK) == 0;
  const fs::path perUser = XdgDir("XDG_CONFIG_HOME", ".config");
  if (configOption) {
    paths.config = *configOption;
  } else if (paths.portable) {
    paths.config = "config.dat";
  } else {
    paths.config = perUser / "config.dat";
  }
  // Beside config.dat; but not beside a --config that names a device or a folder.
  fs::file_status named = fs::status(paths.config, ec);
  bool beside = !configOption || fs::is_regular_file(named) || !fs::exists(named);
  paths.settings = (beside ? paths.config.parent_path() : perUser) / kSettingsFileName;
  if (paths.portable) {
    fs::path config = fs::absolute(paths.config, ec);
    paths.screenshots = ec ? fs::path(".") : config.lexically_normal().parent_path();
  } else {
    paths.screenshots = XdgDir("XDG_DATA_HOME", ".local/share") / "screenshots";
  }
  return paths;
}

fs::path ChooseConfigPath(const std::optional<std::string>& configOption) {
  return ChooseUserPaths(configOption).config;
}

void SetConfigPath(fs::path path) {
  StoredPath() = std::move(path);
  StoredRecord().reset();
}
const fs::path& ConfigPath() {
  return StoredPath();
}

namespace {
fs::path& StoredSettingsPath() {
  static fs::path path = kSettingsFileName;
  return path;
}
}  // namespace
void SetPlayerSettingsPath(fs::path path) {
  StoredSettingsPath() = std::move(path);
}
const fs::path& PlayerSettingsPath() {
  return StoredSettingsPath();
}

void LoadConfig(Settings& settings) {
  std::error_code ec;
  if (!fs::exists(ConfigPath(), ec)) {
    settings = DefaultSettings();
    SaveConfig(settings);
    StoredRecord() = EncodeSettings(settings);
    return;
  }
  ConfigRecord record{};
  std::optional<std::string> bytes = ReadWholeFile(ConfigPath(), record.size());
  if (bytes && bytes->size() == record.size()) {
    std::copy(bytes->begin(), bytes->end(), record.begin());
    settings = DecodeSettings(record);
    // As the settings would be written: padding bytes of another value are no change.
    StoredRecord() = EncodeSettings(settings);
    return;
  }
  if (SpecialFile(ConfigPath())) NoteSpecialFile(ConfigPath());
  // Unreadable or short: the defaults, and the next save writes a whole record.
  settings = DefaultSettings();
  StoredRecord() = EncodeSettings(settings);
}

bool SaveConfig(const Settings& settings) {
  if (SpecialFile(ConfigPath())) return false;  // named when it was read
  ConfigRecord bytes = EncodeSettings(settings);
  std::string failure =
      WriteWholeFile(ConfigPath(), {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
  if (!failure.empty()) {
    ReportSaveFailure(ConfigPath(), failure);
    return false;
  }
  StoredRecord() = bytes;
  return true;
}

bool SaveConfigIfChanged(const Settings& settings) {
  if (!StoredRecord() || *StoredRecord() == EncodeSettings(settings)) return true;
  return SaveConfig(settings);
}

namespace {
// The number of a "line N: ..." problem, 0 for any other text.
long LineNumberOf(const std::string& problem) {
  return problem.rfind("line ", 0) == 0 ? std::strtol(problem.c_str() + 5, nullptr, 10) : 0;
}
}  // namespace

PlayerSettings LoadPlayerSettings(const fs::path& path, bool tell, Bindings* bindings,
                                  std::vector<std::string>* mistakes) {
  std::optional<std::string> text = ReadWholeFile(path);
  if (!text) {
    if (tell && SpecialFile(path)) NoteSpecialFile(path);
    return PlayerSettings{};
  }
  SettingsParse parse = ParseSettingsText(*text);
  if (bindings) *bindings = BindActions(DefaultBindings(), parse.actions, parse.problems);
  // The bindings' problems come after the others: told in the file's order, they read as it does.
  std::stable_sort(
      parse.problems.begin(), parse.problems.end(),
      [](const std::string& a, const std::string& b) { return LineNumberOf(a) < LineNumberOf(b); });
  for (const std::string& problem : tell ? parse.problems : std::vector<std::string>{}) {
    std::fprintf(stderr, "morva: %s %s (the other lines apply)\n", path.c_str(), problem.c_str());
  }
  if (mistakes) *mistakes = parse.problems;
  return parse.settings;
}

bool SavePlayerSettings(const fs::path& path, const PlayerSettings& settings,
                        const ActionValues* actions) {
  if (SpecialFile(path)) return false;  // named when it was read
  std::string text = FormatSettingsText(ReadWholeFile(path).value_or(""), settings, actions);
  std::string failure = WriteWholeFile(path, text);
  if (failure.empty()) return true;
  ReportSaveFailure(path, failure);
  return false;
}

namespace {
fs::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  // Started without $HOME (by a service, or `env -i`): the home the user database names, never
  // the working folder.
  if (const passwd* user = getpwuid(getuid()); user && user->pw_dir && *user->pw_dir) {
    return user->pw_dir;
  }
  return ".";
}
}  // namespace

fs::path XdgDir(const char* variable, const char* underHome) {
  if (const char* xdg = std::getenv(variable); xdg && *xdg == '/') return fs::path(xdg) / "morva";
  return HomeFolder() / underHome / "morva";
}
