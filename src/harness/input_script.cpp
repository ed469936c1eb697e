// Reading and writing input scripts.
#include "harness/input_script.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "app/bindings.hpp"
#include "app/key_names.hpp"
#include "base/parse_number.hpp"

namespace {
// No sensible script line is longer; a longer one is an error, not a reason to grow without end.
constexpr std::size_t kMaxScriptLine = 4096;
constexpr std::size_t kMaxScriptBytes = std::size_t{16} << 20;

// What an error message quotes of a line.
std::string Shortened(const std::string& text) {
  constexpr std::size_t kQuoted = 60;
  return text.size() <= kQuoted ? text : text.substr(0, kQuoted) + "...";
}

const std::string kUnnamedKey = "unnamed";

bool UpDown(const std::string& word, bool& down) {
  if (word == "down") return down = true, true;
  if (word == "up") return down = false, true;
  return false;
}

bool Axis(const std::string& word, int& axis) {
  if (word == "x") return axis = 0, true;
  if (word == "y") return axis = 1, true;
  return false;
}

// Parses the words after the frame number; returns an error text or "".
std::string ParseEvent(const std::vector<std::string>& w, const std::string& rest,
                       ScriptLine& line) {
  Event& e = line.event;
  const std::string& verb = w[1];
  auto need = [&](size_t n) { return w.size() == n; };
  if (verb == "key" && w.size() >= 4) {
    bool down = false;
    if (!UpDown(w[2], down)) return "key needs down or up";
    // Key names may contain blanks ("Left Ctrl") and may be quoted; tabs separate like blanks.
    std::string name = rest.substr(rest.find(w[2]) + w[2].size());
    name.erase(0, name.find_first_not_of(" \t"));
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
      name = name.substr(1, name.size() - 2);
    }
    e.type = down ? EventType::KeyDown : EventType::KeyUp;
    // The release of a key the game has no name for (its press only types a character).
    if (!down && name == kUnnamedKey) return "";
    auto id = KeyIdFromName(name);
    if (!id) return "unknown key name \"" + name + "\"";
    e.keyId = *id;
    e.key = KeyCodeOfId(*id);
    return "";
  }
  if (verb == "text" && need(3)) {
    // One character stands for itself; '#' (a comment), blanks and bytes beyond ASCII are written
    // as their decimal byte value.
    e.type = EventType::Text;
    if (w[2].size() == 1) {
      e.key = static_cast<unsigned char>(w[2][0]);
      return "";
    }
    if (!ParseNumber(w[2], e.key) || e.key < 0 || e.key > 255) {
      return "text needs one character or a byte value 0..255";
    }
    return "";
  }
  if (verb == "mouse" && w.size() >= 3) {
    if (w[2] == "move" && need(5)) {
      e.type = EventType::MouseMove;
      if (!ParseNumber(w[3], e.x) || !ParseNumber(w[4], e.y))
        return "mouse move needs two whole numbers";
      return "";
    }
    bool down = false;
    if (need(4) && UpDown(w[2], down)) {
      e.type = down ? EventType::MouseDown : EventType::MouseUp;
      if (w[3] == "left")
        e.button = MouseButton::Left;
      else if (w[3] == "right")
        e.button = MouseButton::Right;
      else if (w[3] == "middle")
        e.button = MouseButton::Middle;
      else
        return "mouse button must be left, right or middle";
      return "";
    }
    return "mouse needs move X Y, or down|up left|right|middle";
  }
  if ((verb == "joy" || verb == "pad") && need(5)) {
    bool pad = verb == "pad";
    if (w[2] == "axis") {
      e.type = pad ? EventType::PadAxis : EventType::JoyAxis;
      if (!Axis(w[3], e.axis)) return "axis must be x or y";
      if (!ParseNumber(w[4], e.value) || e.value < -1000 || e.value > 1000) {
        return "axis value must be -1000..1000";
      }
      return "";
    }
    if (pad && w[2] == "press") {
      // A controller button by its name, as the Controls page sees it.
      e.type = EventType::PadPress;
      auto named = std::find(kPadButtonNames.begin(), kPadButtonNames.end(), w[3]);
      if (named == kPadButtonNames.end()) return "unknown controller button " + w[3];
      e.key = static_cast<int>(named - kPadButtonNames.begin());
      if (!UpDown(w[4], e.down)) return "button needs down or up";
      return "";
    }
    if (w[2] == "button") {
      e.type = pad ? EventType::PadButton : EventType::JoyButton;
      if (!ParseNumber(w[3], e.key) || e.key < 1 || e.key > 32) return "button must be 1..32";
      if (!UpDown(w[4], e.down)) return "button needs down or up";
      return "";
    }
  }
  if (verb == "focus" && need(3)) {
    if (w[2] == "lost")
      e.type = EventType::FocusLost;
    else if (w[2] == "gained")
      e.type = EventType::FocusGained;
    else
      return "focus must be lost or gained";
    return "";
  }
  if (verb == "quit" && need(2)) {
    e.type = EventType::Quit;
    return "";
  }
  if (verb == "step" && need(3)) {
    line.kind = ScriptLine::Kind::Step;
    // The same bounds as --frame-ms.
    if (!ParseNumber(w[2], line.stepMs) || !ValidFixedStep(line.stepMs)) {
      return "step needs 0, or milliseconds from 0.1 to 10000";
    }
    return "";
  }
  if (verb == "clock" && need(3) && w[2] == "measured") {
    line.kind = ScriptLine::Kind::Clock;
    return "";
  }
  if (verb == "measure" && need(3)) {
    line.kind = ScriptLine::Kind::Measure;
    if (!ParseNumber(w[2], line.measuredFps) || line.measuredFps < 0 || line.measuredFps > 65535) {
      return "measure needs a frame count";
    }
    return "";
  }
  if (verb == "bind" && w.size() >= 3) {
    // A recording's bindings apply from the start, whatever the player's own are now.
    if (line.frame != 0) return "bind lines are for frame 0";
    line.kind = ScriptLine::Kind::Bind;
    line.binding = rest.substr(rest.find("bind") + 4);
    SettingsParse parse = ParseSettingsText(line.binding);
    std::vector<std::string> problems = parse.problems;
    BindActions(DefaultBindings(), parse.actions, problems);
    if (parse.actions.size() != 1 || !problems.empty()) {
      return "cannot bind \"" + Shortened(line.binding) + "\"" +
             (problems.empty() ? ""
                               : ": " + problems.front().substr(problems.front().find(':') + 2));
    }
    return "";
  }
  if (verb == "seed" && need(3)) {
    line.kind = ScriptLine::Kind::Seed;
    if (!ParseNumber(w[2], line.seed)) return "seed needs a whole number";
    return "";
  }
  return "cannot read \"" + Shortened(rest) + "\"";
}

// Reads one line of at most kMaxScriptLine characters; false at the end of the input. Stops
// reading at the first character past either limit and says which through `over`, so an endless
// pipe or device is never read to its end.
enum class Over { None, Line, Total };
bool ReadLine(std::istream& in, std::string& text, std::size_t& total, Over& over) {
  text.clear();
  int c = 0;
  bool any = false;
  while ((c = in.get()) != std::char_traits<char>::eof()) {
    any = true;
    if (++total > kMaxScriptBytes) {
      over = Over::Total;
      return true;
    }
    if (c == '\n') return true;
    if (text.size() == kMaxScriptLine) {
      over = Over::Line;
      return true;
    }
    text.push_back(static_cast<char>(c));
  }
  return any;
}
}  // namespace

bool ValidFixedStep(double ms) {
  // Below a tenth of a millisecond the measured frame rate would run away to infinity.
  return std::isfinite(ms) && (ms == 0 || (ms >= 0.1 && ms <= 10000));
}

ScriptParse ParseInputScript(std::istream& in) {
  ScriptParse result;
  std::string text;
  std::size_t total = 0;
  Over over = Over::None;
  for (int number = 1; ReadLine(in, text, total, over); ++number) {
    if (over != Over::None) {
      result.error = over == Over::Line ? "line " + std::to_string(number) + ": longer than " +
                                              std::to_string(kMaxScriptLine) + " characters"
                                        : "longer than 16 MiB";
      result.lines.clear();
      return result;
    }
    if (auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ' || text.back() == '\t')) {
      text.pop_back();
    }
    std::istringstream words(text);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (w.empty()) continue;
    ScriptLine line;
    std::string error;
    if (w.size() < 2 || !ParseNumber(w[0], line.frame) || line.frame < 0) {
      error = "a line starts with a frame number and an event";
    } else {
      error = ParseEvent(w, text, line);
    }
    if (!error.empty()) {
      result.error = "line " + std::to_string(number) + ": " + error;
      result.lines.clear();
      return result;
    }
    result.lines.push_back(line);
  }
  std::stable_sort(result.lines.begin(), result.lines.end(),
                   [](const ScriptLine& a, const ScriptLine& b) { return a.frame < b.frame; });
  return result;
}

std::string FormatScriptEvent(int64_t frame, const Event& e) {
  std::ostringstream out;
  out << frame << ' ';
  auto button = [](MouseButton b) {
    return b == MouseButton::Left ? "left" : b == MouseButton::Right ? "right" : "middle";
  };
  switch (e.type) {
    case EventType::KeyDown:
    case EventType::KeyUp: {
      std::string name =
          e.keyId != 0 ? KeyNameOfId(e.keyId) : KeyNameFromCode(static_cast<uint8_t>(e.key));
      if (name.empty() && e.type == EventType::KeyUp) name = kUnnamedKey;
      if (name.empty()) return "";
      out << "key " << (e.type == EventType::KeyDown ? "down " : "up ") << name;
      break;
    }
    case EventType::Text:
      if (e.key < 0 || e.key > 255) return "";
      out << "text ";
      if (e.key > ' ' && e.key <= '~' && e.key != '#') {
        out << static_cast<char>(e.key);
      } else {
        out << e.key;
      }
      break;
    case EventType::MouseMove:
      out << "mouse move " << e.x << ' ' << e.y;
      break;
    case EventType::MouseDown:
      out << "mouse down " << button(e.button);
      break;
    case EventType::MouseUp:
      out << "mouse up " << button(e.button);
      break;
    case EventType::JoyAxis:
    case EventType::PadAxis:
      out << (e.type == EventType::JoyAxis ? "joy" : "pad") << " axis " << (e.axis == 0 ? 'x' : 'y')
          << ' ' << e.value;
      break;
    case EventType::JoyButton:
    case EventType::PadButton:
      out << (e.type == EventType::JoyButton ? "joy" : "pad") << " button " << e.key
          << (e.down ? " down" : " up");
      break;
    case EventType::PadPress:
      if (e.key < 0 || e.key >= static_cast<int>(kPadButtonNames.size())) return "";
      out << "pad press " << kPadButtonNames[static_cast<std::size_t>(e.key)]
          << (e.down ? " down" : " up");
      break;
    case EventType::FocusLost:
      out << "focus lost";
      break;
    case EventType::FocusGained:
      out << "focus gained";
      break;
    case EventType::Quit:
      out << "quit";
      break;
    case EventType::Screenshot:
    case EventType::MouseWheel:  // nothing the game reads: not recorded
      return "";
  }
  return out.str();
}
