// The settings file config.dat: read at start-up, written when the player leaves the options and
// again, if they changed, when the program ends.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/game_state.hpp"
#include "formats/settings_text.hpp"

inline constexpr char kSettingsFileName[] = "settings.cfg";

// Where the player's own files go. A portable install (the working directory holds the game's
// data folder or a config.dat, and can be written) keeps them in the working directory, as the
// game always has; a game started from the desktop keeps them in the per-user folders instead:
// config.dat in $XDG_CONFIG_HOME/morva (default ~/.config/morva), screenshots in
// $XDG_DATA_HOME/morva/screenshots (default ~/.local/share/morva/screenshots). --config names
// the settings file wherever the program runs.
struct UserPaths {
  std::filesystem::path config;
  // settings.cfg, the settings edited by hand: beside config.dat (with --config, only when it
  // names a file or a place for one; else in the per-user folder).
  std::filesystem::path settings;
  std::filesystem::path screenshots;
  bool portable = false;
};
UserPaths ChooseUserPaths(const std::optional<std::string>& configOption);
// The working directory `dir` is a portable install.
bool IsPortableInstall(const std::filesystem::path& dir);
// The game's folder under an XDG base folder: $variable/morva when the variable holds an
// absolute path, else ~/underHome/morva.
std::filesystem::path XdgDir(const char* variable, const char* underHome);

// ChooseUserPaths(configOption).config.
std::filesystem::path ChooseConfigPath(const std::optional<std::string>& configOption);
void SetConfigPath(std::filesystem::path path);
const std::filesystem::path& ConfigPath();
// Where this run keeps settings.cfg (UserPaths::settings), for the Controls page's changes.
void SetPlayerSettingsPath(std::filesystem::path path);
const std::filesystem::path& PlayerSettingsPath();

// Fills `settings` from the file, creating it with the defaults when it does not exist. A file
// that cannot be read or is shorter than a record gives the defaults.
void LoadConfig(Settings& settings);
// Writes the record to a temporary file and renames it over config.dat, so the file is never
// left half written; says so when it cannot be saved. True on success.
bool SaveConfig(const Settings& settings);
// Saves the settings when they differ from what config.dat was last read or written with, so a
// change made in the options reaches the file however the program ends. True when nothing was
// lost. Does nothing before the file has been read.
bool SaveConfigIfChanged(const Settings& settings);

// settings.cfg: the defaults when it is missing or unreadable; each damaged line is named on
// stderr with its number, and the others apply.
// With `bindings`, the file's action lines are bound over the defaults into it; with `mistakes`,
// the damaged lines are also handed back, a text each.
PlayerSettings LoadPlayerSettings(const std::filesystem::path& path, bool tell = true,
                                  Bindings* bindings = nullptr,
                                  std::vector<std::string>* mistakes = nullptr);
// Writes the settings into the file (keeping the player's comments and other lines) as
// SaveConfig writes config.dat, never half; says so when it cannot. True on success.
// With `actions`, the action lines are written too.
bool SavePlayerSettings(const std::filesystem::path& path, const PlayerSettings& settings,
                        const ActionValues* actions = nullptr);
