// Key and controller bindings of the actions.
#include "app/bindings.hpp"

#include <algorithm>

#include "app/key_names.hpp"
#include "app/platform.hpp"
#include "base/backends.hpp"
#include "base/messages.hpp"

namespace {

// In the order of kActionNames.
constexpr std::array<InputState, kActionCount> kActionStates = {Left,
                                                                Right,
                                                                Up,
                                                                Down,
                                                                AttackButton(1),
                                                                AttackButton(2),
                                                                AttackButton(3),
                                                                AttackButton(4),
                                                                kPowerUpButton,
                                                                kPauseButton};

struct DefaultBinding {
  std::array<const char*, 3> keys;
  std::array<const char*, 2> buttons;
};
// The keys and buttons the game has always had, in the order of kActionNames.
constexpr std::array<DefaultBinding, kActionCount> kDefaults = {{
    {{"Left", "H", "Keypad 4"}, {"dpleft", nullptr}},
    {{"Right", "L", "Keypad 6"}, {"dpright", nullptr}},
    {{"Up", "K", "Keypad 8"}, {"dpup", nullptr}},
    {{"Down", "J", "Keypad 2"}, {"dpdown", nullptr}},
    {{"Z", nullptr, nullptr}, {"a", nullptr}},
    {{"X", nullptr, nullptr}, {"b", nullptr}},
    {{"C", nullptr, nullptr}, {"x", nullptr}},
    {{"Left Ctrl", "Right Ctrl", nullptr}, {"y", nullptr}},
    {{"Space", nullptr, nullptr}, {"rightshoulder", nullptr}},
    {{"Escape", nullptr, nullptr}, {"start", "back"}},
}};
constexpr std::size_t kPauseAction = 9;
// The left shoulder feeds button 9, which no action names.
constexpr int kLeftShoulderState = kUnreadButton;

// Where a controller button stands in kPadButtonNames (and so in a PadMap), if it is one.
std::optional<std::size_t> PadButtonIndex(const std::string& name) {
  for (std::size_t i = 0; i < kPadButtonNames.size(); ++i) {
    if (name == kPadButtonNames[i]) return i;
  }
  return std::nullopt;
}

bool SameKey(int a, int b) {
  return KeyCodeOfId(a) == KeyCodeOfId(b);
}

// The problem with one line's names, or empty; `keys` gets their ids.
std::string CheckNames(const ActionLine& line, std::vector<int>& keys) {
  const std::string action = kActionNames[line.action];
  for (const std::string& name : line.keys) {
    std::optional<int> id = KeyIdFromName(name);
    if (!id) return "unknown key \"" + name + "\" for " + action;
    if (KeyCodeOfId(*id) == vk::Escape && line.action != kPauseAction) {
      return "Escape always pauses; it cannot be bound to " + action;
    }
    keys.push_back(*id);
  }
  for (const std::string& name : line.buttons) {
    if (!PadButtonIndex(name)) return "unknown controller button \"" + name + "\" for " + action;
  }
  return {};
}

// Takes the line's keys and buttons away from every other action.
void TakeFromOthers(Bindings& b, std::size_t action, const ActionBinding& taken) {
  for (std::size_t other = 0; other < kActionCount; ++other) {
    if (other == action) continue;
    std::erase_if(b[other].keys, [&](int k) {
      return std::any_of(taken.keys.begin(), taken.keys.end(),
                         [&](int t) { return SameKey(k, t); });
    });
    std::erase_if(b[other].buttons, [&](const std::string& n) {
      return std::find(taken.buttons.begin(), taken.buttons.end(), n) != taken.buttons.end();
    });
  }
}

// The player's names of the controller buttons, in the order of kPadButtonNames.
constexpr std::array<const char*, kPadButtonNames.size()> kPadButtonLabels = {
    "A",    "B",      "X",      "Y",       "Back", "Guide", "Start", "LS", "RS", "LB",      "RB",
    "D-up", "D-down", "D-left", "D-right", "Misc", "P1",    "P2",    "P3", "P4", "Touchpad"};

// The names joined by ", ".
template <typename Items, typename Name>
std::string JoinNames(const Items& items, Name name) {
  std::string text;
  for (const auto& item : items) text += (text.empty() ? "" : ", ") + name(item);
  return text;
}

}  // namespace

InputState ActionState(std::size_t action) {
  return kActionStates.at(action);
}

Bindings DefaultBindings() {
  Bindings b;
  for (std::size_t a = 0; a < kActionCount; ++a) {
    for (const char* key : kDefaults[a].keys) {
      if (key) b[a].keys.push_back(*KeyIdFromName(key));
    }
    for (const char* button : kDefaults[a].buttons) {
      if (button) b[a].buttons.emplace_back(button);
    }
  }
  return b;
}

Bindings BindActions(Bindings base, const std::vector<ActionLine>& lines,
                     std::vector<std::string>& problems) {
  // Which line bound each key first, so that a second line naming it is the damaged one.
  std::vector<std::pair<int, int>> boundBy;  // key id, line
  for (const ActionLine& line : lines) {
    ActionBinding binding;
    std::string problem = CheckNames(line, binding.keys);
    for (int key : binding.keys) {
      for (auto [earlier, at] : boundBy) {
        if (problem.empty() && SameKey(key, earlier)) {
          problem =
              "\"" + KeyNameOfId(key) + "\" is bound on line " + std::to_string(at) + " already";
        }
      }
    }
    if (!problem.empty()) {
      problems.push_back("line " + std::to_string(line.line) + ": " + problem);
      continue;
    }
    for (int key : binding.keys) boundBy.emplace_back(key, line.line);
    binding.buttons = line.buttons;
    TakeFromOthers(base, line.action, binding);
    base[line.action] = std::move(binding);
  }
  return base;
}

std::array<uint8_t, 3> ActionKeyCodes(const Bindings& bindings, std::size_t action) {
  std::array<uint8_t, 3> codes{};
  std::size_t slot = 0;
  for (int key : bindings.at(action).keys) {
    const uint8_t code = KeyCodeOfId(key);
    if (slot < codes.size() && std::find(codes.begin(), codes.end(), code) == codes.end()) {
      codes[slot++] = code;
    }
  }
  return codes;
}

void AssignBindingKeys(const Bindings& bindings) {
  for (std::size_t action : {0u, 1u, 2u, 3u}) {
    DXInput1.Keyboard.Assigns[ActionState(action)] = ActionKeyCodes(bindings, action);
  }
  // Escape first, then the pause's own keys in the slots left.
  std::array<uint8_t, 3> pause{vk::Escape, 0, 0};
  std::size_t slot = 1;
  for (uint8_t code : ActionKeyCodes(bindings, kPauseAction)) {
    if (code != 0 && code != vk::Escape && slot < pause.size()) pause[slot++] = code;
  }
  DXInput1.Keyboard.Assigns[ActionState(kPauseAction)] = pause;
}

void InstallBindings(const Bindings& bindings) {
  AssignBindingKeys(bindings);
  if (backends.platform) backends.platform->SetPadMap(PadMapOf(bindings));
}

PadMap PadMapOf(const Bindings& bindings) {
  PadMap map;
  map.fill(-1);
  map[*PadButtonIndex("leftshoulder")] = kLeftShoulderState;
  for (std::size_t a = 0; a < kActionCount; ++a) {
    for (const std::string& button : bindings[a].buttons) {
      if (auto i = PadButtonIndex(button)) map[*i] = ActionState(a);
    }
  }
  return map;
}

std::string PadButtonLabel(const std::string& name) {
  auto i = PadButtonIndex(name);
  return i ? kPadButtonLabels[*i] : "";
}

void BindKey(Bindings& bindings, std::size_t action, int keyId) {
  ActionBinding taken{{keyId}, {}};
  TakeFromOthers(bindings, action, taken);
  bindings.at(action).keys = taken.keys;
}

void BindButton(Bindings& bindings, std::size_t action, const std::string& button) {
  ActionBinding taken{{}, {button}};
  TakeFromOthers(bindings, action, taken);
  bindings.at(action).buttons = taken.buttons;
}

std::string KeyLabel(int keyId) {
  const std::string name = KeyNameOfId(keyId);
  if (!backends.platform) return name;
  return Utf8ToCp1257(backends.platform->KeyLabel(name));
}

std::string KeyLabels(const ActionBinding& binding) {
  return JoinNames(binding.keys, KeyLabel);
}

std::string ButtonLabels(const ActionBinding& binding) {
  return JoinNames(binding.buttons, PadButtonLabel);
}

std::string BindingText(const ActionBinding& binding) {
  std::string text = JoinNames(binding.keys, KeyNameOfId);
  if (!binding.buttons.empty()) {
    text += (text.empty() ? "| " : " | ") + JoinNames(binding.buttons, [](auto& b) { return b; });
  }
  return text;
}

ActionValues ActionValuesOf(const Bindings& bindings) {
  ActionValues values;
  const Bindings defaults = DefaultBindings();
  for (std::size_t a = 0; a < kActionCount; ++a) {
    values.text[a] = BindingText(bindings[a]);
    values.isDefault[a] = bindings[a] == defaults[a];
  }
  return values;
}

std::vector<std::string> BindingScriptLines(const Bindings& bindings) {
  std::vector<std::string> lines;
  const Bindings defaults = DefaultBindings();
  for (std::size_t a = 0; a < kActionCount; ++a) {
    if (bindings[a] == defaults[a]) continue;
    lines.push_back("0 bind " + std::string(kActionNames[a]) + " = " + BindingText(bindings[a]));
  }
  return lines;
}
