// settings.cfg: the settings a person edits by hand (how the game shows itself), one
// "name = value" a line, "#" starting a comment. config.dat keeps the game's own settings.
#pragma once

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

struct SettingsParse {
  PlayerSettings settings;            // the defaults where a line is missing or damaged
  std::vector<std::string> problems;  // "line N: ..." for each damaged line, in order
};

// Reads the text; a damaged line (an unknown name, a value the name does not take, a name given
// a second time, a line without "=") is named and skipped, and the other lines still apply.
SettingsParse ParseSettingsText(const std::string& text);

// `old` with each setting's line holding its value from `settings`: a line's comment and every
// line that is not a setting (the player's comments, damaged lines) stay as they were, and a
// setting the text lacks is added at its end. An empty `old` gives a whole new file.
std::string FormatSettingsText(const std::string& old, const PlayerSettings& settings);
