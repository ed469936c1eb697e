// Which keys and controller buttons feed each action's input state: settings.cfg over the
// defaults, which are the keys and buttons the game has always had. The input states and the
// level load's binding of buttons 5..10 stay as they are; only what feeds them changes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/input.hpp"
#include "formats/settings_text.hpp"

constexpr std::size_t kActionCount = kActionNames.size();

struct ActionBinding {
  std::vector<int> keys;             // key ids (key_names.hpp), at most three
  std::vector<std::string> buttons;  // controller button names, at most two
  bool operator==(const ActionBinding&) const = default;
};
using Bindings = std::array<ActionBinding, kActionCount>;

// The input state an action feeds: the directions, Button5..8, Button10 and Button4.
InputState ActionState(std::size_t action);
Bindings DefaultBindings();

// The file's action lines over `base`. A line naming an unknown key or controller button, or a
// key that an earlier line binds already, is named in `problems` and skipped. A key or button a
// line takes is taken from whichever action had it (keys that share a code, both Ctrl keys, go
// together: the game tells them apart by code).
Bindings BindActions(Bindings base, const std::vector<ActionLine>& lines,
                     std::vector<std::string>& problems);

// The keys of the directions and the pause into the keyboard's assignments. Escape stays on the
// pause's state whatever the bindings say, so no binding can strand a player in a menu.
void AssignBindingKeys(const Bindings& bindings);
// The bindings into the keyboard's assignments (AssignBindingKeys) and the controller's map of
// the platform in use, if any.
void InstallBindings(const Bindings& bindings);
// The first three keys of an action as virtual-key codes (0 for none), for its state's slots.
std::array<uint8_t, 3> ActionKeyCodes(const Bindings& bindings, std::size_t action);

// The controller's buttons as the game's: for each controller button (in the order of
// kPadButtonNames) the input state it feeds, or -1.
constexpr std::array<const char*, 21> kPadButtonNames = {"a",
                                                         "b",
                                                         "x",
                                                         "y",
                                                         "back",
                                                         "guide",
                                                         "start",
                                                         "leftstick",
                                                         "rightstick",
                                                         "leftshoulder",
                                                         "rightshoulder",
                                                         "dpup",
                                                         "dpdown",
                                                         "dpleft",
                                                         "dpright",
                                                         "misc1",
                                                         "paddle1",
                                                         "paddle2",
                                                         "paddle3",
                                                         "paddle4",
                                                         "touchpad"};
using PadMap = std::array<int, kPadButtonNames.size()>;
PadMap PadMapOf(const Bindings& bindings);

// How a controller button is named to the player: "A", "RB", "D-left" ("" for an unknown name).
std::string PadButtonLabel(const std::string& name);

// The Controls page's change: `keyId` becomes the action's one key (or `button` its one controller
// button), taken from whichever action had it; the action keeps its buttons (or its keys).
void BindKey(Bindings& bindings, std::size_t action, int keyId);
void BindButton(Bindings& bindings, std::size_t action, const std::string& button);

// The name a key shows under the keyboard layout in use ("W" for the key US keyboards mark "Z",
// on a French one), in the game's code page; the US name without a window.
std::string KeyLabel(int keyId);
// "Left, H, Keypad 4" and "D-left": what the Controls page shows of an action.
std::string KeyLabels(const ActionBinding& binding);
std::string ButtonLabels(const ActionBinding& binding);

// "Z, Keypad 1 | a": an action's binding as settings.cfg and a recording write it.
std::string BindingText(const ActionBinding& binding);
// The bindings as settings.cfg writes them.
ActionValues ActionValuesOf(const Bindings& bindings);
// The "bind" lines a recording starts with: every action bound otherwise than by default.
std::vector<std::string> BindingScriptLines(const Bindings& bindings);
