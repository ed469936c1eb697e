// Reading and writing settings.cfg.
#include "formats/settings_text.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <sstream>

#include "base/parse_number.hpp"

namespace {

constexpr std::array<const char*, 3> kNames = {"window", "vsync", "flashes"};
// Window sizes a person may ask for.
constexpr int kLeastWidth = 320;
constexpr int kLeastHeight = 240;
constexpr int kLargestSide = 16384;

const char kHeader[] =
    "# morva's settings. Edit them while the game is not running; \"#\" starts a comment.\n"
    "# window = fullscreen, or a window size such as 1024x768 (Alt+Enter and resizing the\n"
    "#          window are kept here)\n"
    "# vsync = on or off: wait for the display's refresh at each frame\n"
    "# flashes = full or reduced: the power-up's white flash and the sky's lightning at a\n"
    "#           quarter of their brightness\n"
    "# left, right, jump, crouch, attack1 .. attack4, power, pause = up to three keys, then\n"
    "#           after \"|\" up to two controller buttons: attack1 = Z, Keypad 1 | a\n"
    "#           (keys by their place on a US keyboard; Escape always pauses)\n";

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// One line taken apart: its setting's name and value, and its comment.
struct Line {
  std::string name;  // lower case; empty for a blank or comment-only line
  std::string value;
  std::string comment;  // from "#" on, or empty
  bool hasEquals = false;
};

Line Split(const std::string& raw) {
  Line line;
  std::string body = raw;
  if (auto hash = raw.find('#'); hash != std::string::npos) {
    body = raw.substr(0, hash);
    line.comment = Trim(raw.substr(hash));
  }
  auto equals = body.find('=');
  line.hasEquals = equals != std::string::npos;
  line.name = Lower(Trim(body.substr(0, equals)));
  if (line.hasEquals) line.value = Trim(body.substr(equals + 1));
  return line;
}

std::optional<WindowChoice> ParseWindow(const std::string& value) {
  const std::string v = Lower(value);
  if (v == "fullscreen") return WindowChoice{};
  auto x = v.find('x');
  if (x == std::string::npos) return std::nullopt;
  auto w = ParseNumber<int>(v.substr(0, x));
  auto h = ParseNumber<int>(v.substr(x + 1));
  if (!w || !h || *w < kLeastWidth || *h < kLeastHeight || *w > kLargestSide || *h > kLargestSide) {
    return std::nullopt;
  }
  return WindowChoice{false, *w, *h};
}

std::optional<bool> ParseSwitch(const std::string& value, const char* on, const char* off) {
  const std::string v = Lower(value);
  if (v == on) return true;
  if (v == off) return false;
  return std::nullopt;
}

// Applies one setting; the problem with its value, or empty.
std::string Apply(const Line& line, PlayerSettings& s) {
  if (line.name == "window") {
    auto w = ParseWindow(line.value);
    if (!w) {
      return "window takes fullscreen or a size from " + std::to_string(kLeastWidth) + "x" +
             std::to_string(kLeastHeight) + " such as 1024x768";
    }
    s.window = *w;
  } else if (line.name == "vsync") {
    auto on = ParseSwitch(line.value, "on", "off");
    if (!on) return "vsync takes on or off";
    s.vsync = *on;
  } else {
    auto reduced = ParseSwitch(line.value, "reduced", "full");
    if (!reduced) return "flashes takes full or reduced";
    s.reducedFlashes = *reduced;
  }
  return {};
}

std::optional<std::size_t> ActionIndex(const std::string& name) {
  for (std::size_t i = 0; i < kActionNames.size(); ++i) {
    if (name == kActionNames[i]) return i;
  }
  return std::nullopt;
}

// The names of a comma-separated list, blanks around each taken off.
std::vector<std::string> Names(const std::string& list) {
  std::vector<std::string> names;
  std::istringstream in(list);
  for (std::string name; std::getline(in, name, ',');) {
    if (!Trim(name).empty()) names.push_back(Trim(name));
  }
  return names;
}

// An action's keys, then after "|" its controller buttons; nothing after "=" unbinds it.
std::string ReadAction(const Line& line, std::size_t action, int number, ActionLine& out) {
  const auto bar = line.value.find('|');
  out = ActionLine{number, action, Names(line.value.substr(0, bar)), {}};
  if (bar != std::string::npos) out.buttons = Names(line.value.substr(bar + 1));
  if (out.keys.size() > kMostKeysPerAction || out.buttons.size() > kMostButtonsPerAction) {
    return line.name + " takes up to 3 keys and 2 controller buttons";
  }
  return {};
}

bool Known(const std::string& name) {
  return std::find_if(kNames.begin(), kNames.end(), [&](const char* n) { return name == n; }) !=
         kNames.end();
}

std::string ValueOf(const std::string& name, const PlayerSettings& s) {
  if (name == "window") {
    return s.window.fullScreen
               ? "fullscreen"
               : std::to_string(s.window.width) + "x" + std::to_string(s.window.height);
  }
  if (name == "vsync") return s.vsync ? "on" : "off";
  return s.reducedFlashes ? "reduced" : "full";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

SettingsParse ParseSettingsText(const std::string& text) {
  SettingsParse result;
  std::vector<std::string> given;
  int number = 0;
  for (const std::string& raw : Lines(text)) {
    ++number;
    const Line line = Split(raw);
    if (line.name.empty() && !line.hasEquals) continue;
    std::string problem;
    if (!line.hasEquals) {
      problem = "\"" + line.name + "\" has no \"=\" and a value";
    } else if (!Known(line.name) && !ActionIndex(line.name)) {
      problem = "unknown setting \"" + line.name + "\"";
    } else if (std::find(given.begin(), given.end(), line.name) != given.end()) {
      problem = line.name + " is given a second time; the first stays";
    } else if (auto action = ActionIndex(line.name)) {
      ActionLine bound;
      problem = ReadAction(line, *action, number, bound);
      if (problem.empty()) {
        given.push_back(line.name);
        result.actions.push_back(std::move(bound));
      }
    } else {
      problem = Apply(line, result.settings);
      if (problem.empty()) given.push_back(line.name);
    }
    if (!problem.empty())
      result.problems.push_back("line " + std::to_string(number) + ": " + problem);
  }
  return result;
}

std::string FormatSettingsText(const std::string& old, const PlayerSettings& settings,
                               const ActionValues* actions) {
  // A setting's value, or none for a line that stays as it is.
  auto valueOf = [&](const std::string& name) -> std::optional<std::string> {
    if (Known(name)) return ValueOf(name, settings);
    auto action = ActionIndex(name);
    if (actions && action) return actions->text[*action];
    return std::nullopt;
  };
  auto setting = [](const std::string& name, const std::string& value) {
    return name + (value.empty() ? " =" : " = " + value);
  };
  std::string out = old.empty() ? kHeader : "";
  std::vector<std::string> written;
  for (const std::string& raw : Lines(old)) {
    const Line line = Split(raw);
    const std::optional<std::string> value = valueOf(line.name);
    // The first line of each setting takes its value, a damaged one included.
    if (value && std::find(written.begin(), written.end(), line.name) == written.end()) {
      written.push_back(line.name);
      out += setting(line.name, *value);
      if (!line.comment.empty()) out += "  " + line.comment;
      out += '\n';
    } else {
      out += raw + '\n';
    }
  }
  auto missing = [&](const char* name) {
    return std::find(written.begin(), written.end(), name) == written.end();
  };
  for (const char* name : kNames) {
    if (missing(name)) out += setting(name, ValueOf(name, settings)) + '\n';
  }
  for (std::size_t a = 0; actions && a < kActionNames.size(); ++a) {
    if (!actions->isDefault[a] && missing(kActionNames[a])) {
      out += setting(kActionNames[a], actions->text[a]) + '\n';
    }
  }
  return out;
}
