// The settings file config.dat: read at start-up, written when the player leaves the options.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/game_state.hpp"

// Where config.dat lives: --config when given; else the working directory when it can be
// written; else $XDG_CONFIG_HOME/morva (default ~/.config/morva).
std::filesystem::path ChooseConfigPath(const std::optional<std::string>& configOption);
void SetConfigPath(std::filesystem::path path);
const std::filesystem::path& ConfigPath();

// Fills `settings` from the file, creating it with the defaults when it does not exist. A file
// that cannot be read or is shorter than a record gives the defaults.
void LoadConfig(Settings& settings);
// Writes the record to a temporary file and renames it over config.dat, so the file is never
// left half written; says so when it cannot be saved. True on success.
bool SaveConfig(const Settings& settings);
