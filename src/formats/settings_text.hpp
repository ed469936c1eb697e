// settings.cfg: the settings a person edits by hand (how the game shows itself), one
// "name = value" a line, "#" starting a comment. config.dat keeps the game's own settings.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

// Full screen, or a window of the given size.
struct WindowChoice {
  bool fullScreen = true;
  int width = 800;
  int height = 600;
  bool operator==(const WindowChoice&) const = default;
};

struct PlayerSettings {
  WindowChoice window;
  bool vsync = false;           // wait for the display's refresh at each frame
  bool reducedFlashes = false;  // the white flash and the sky's lightning at a quarter
  bool operator==(const PlayerSettings&) const = default;
};

// The actions a player may bind, in the order the file and the Controls list them.
inline constexpr std::array<const char*, 10> kActionNames = {
    "left",    "right",   "jump",    "crouch", "attack1",
    "attack2", "attack3", "attack4", "power",  "pause"};
constexpr std::size_t kMostKeysPerAction = 3;
constexpr std::size_t kMostButtonsPerAction = 2;

// "attack1 = Z, Keypad 1 | a": an action's keys (key names) and controller buttons (controller
// button names) as the file writes them; the names are checked by whoever binds them.
struct ActionLine {
  int line = 0;
  std::size_t action = 0;  // index into kActionNames
  std::vector<std::string> keys;
  std::vector<std::string> buttons;
};

struct SettingsParse {
  PlayerSettings settings;            // the defaults where a line is missing or damaged
  std::vector<ActionLine> actions;    // in file order; an action at most once
  std::vector<std::string> problems;  // "line N: ..." for each damaged line, in order
};

// Reads the text; a damaged line (an unknown name, a value the name does not take, a name given
// a second time, a line without "=") is named and skipped, and the other lines still apply.
SettingsParse ParseSettingsText(const std::string& text);

// The bindings as the Controls page leaves them: each action's value as the file writes it
// ("Z, Keypad 1 | a"), and whether that is the action's default.
struct ActionValues {
  std::array<std::string, kActionNames.size()> text;
  std::array<bool, kActionNames.size()> isDefault{};
};

// `old` with each setting's line holding its value from `settings` (and, given `actions`, each
// action's line its value): a line's comment and every line that is not a setting (the player's
// comments, damaged lines) stay as they were, and a setting the text lacks is added at its end
// (an action only when it is not bound as by default). An empty `old` gives a whole new file.
std::string FormatSettingsText(const std::string& old, const PlayerSettings& settings,
                               const ActionValues* actions = nullptr);
