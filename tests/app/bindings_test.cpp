// The actions' keys and controller buttons: the defaults are the game's keys of old, settings.cfg's
// lines move keys and buttons between actions, and a damaged line is named while the rest apply.
#include "app/bindings.hpp"

#include <gtest/gtest.h>

#include <set>

#include "app/key_names.hpp"

namespace {
std::set<uint8_t> Codes(const std::array<uint8_t, 3>& slots) {
  std::set<uint8_t> codes(slots.begin(), slots.end());
  codes.erase(0);
  return codes;
}
int PadState(const PadMap& map, const std::string& button) {
  for (std::size_t i = 0; i < kPadButtonNames.size(); ++i) {
    if (button == kPadButtonNames[i]) return map[i];
  }
  return -2;
}
}  // namespace

TEST(Bindings, TheDefaultsAreTheKeysAndButtonsTheGameHasAlwaysHad) {
  InputComponent formDefaults;
  formDefaults.AssignFormDefaults();
  const Bindings b = DefaultBindings();
  for (InputState s : {Up, Down, Left, Right}) {
    std::size_t action = 0;
    while (ActionState(action) != s) ++action;
    EXPECT_EQ(Codes(ActionKeyCodes(b, action)), Codes(formDefaults.Keyboard.Assigns[s])) << s;
  }
  const uint8_t attacks[] = {'Z', 'X', 'C', vk::Control, vk::Space};
  for (std::size_t a = 4; a <= 8; ++a) {
    EXPECT_EQ(Codes(ActionKeyCodes(b, a)), std::set<uint8_t>{attacks[a - 4]}) << a;
  }
  const PadMap pad = PadMapOf(b);
  const std::pair<const char*, int> old[] = {{"a", AttackButton(1)},
                                             {"b", AttackButton(2)},
                                             {"x", AttackButton(3)},
                                             {"y", AttackButton(4)},
                                             {"leftshoulder", kUnreadButton},
                                             {"rightshoulder", kPowerUpButton},
                                             {"start", kPauseButton},
                                             {"back", kPauseButton},
                                             {"dpup", Up},
                                             {"dpleft", Left},
                                             {"guide", -1}};
  for (auto [button, state] : old) EXPECT_EQ(PadState(pad, button), state) << button;
  EXPECT_TRUE(BindingScriptLines(b).empty()) << "a recording names only what differs";
}

TEST(Bindings, LinesMoveKeysAndButtonsAndADamagedOneIsNamedWhileTheRestApply) {
  struct Row {
    const char* text;
    std::size_t action;
    std::set<uint8_t> codes;
    const char* problem;  // the start of the one problem, or empty
  } rows[] = {
      {"attack1 = A, Keypad 1 | x", 4, {'A', 0x61}, ""},
      {"attack2 = Z", 4, {}, ""},  // attack1 gave up its Z
      {"attack4 = Left Ctrl", 7, {vk::Control}, ""},
      {"jump = \nattack1 = A", 2, {}, ""},  // nothing after "=" unbinds
      {"pause = P", 9, {'P'}, ""},
      {"attack1 = Zed", 4, {'Z'}, "line 1: unknown key \"Zed\" for attack1"},
      {"attack1 = A | z", 4, {'Z'}, "line 1: unknown controller button \"z\""},
      {"attack1 = A\nattack2 = Keypad 1, A", 5, {'X'}, "line 2: \"A\" is bound on line 1"},
      {"attack3 = Escape", 6, {'C'}, "line 1: Escape always pauses"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    SettingsParse parse = ParseSettingsText(r.text);
    std::vector<std::string> problems;
    const Bindings b = BindActions(DefaultBindings(), parse.actions, problems);
    EXPECT_EQ(Codes(ActionKeyCodes(b, r.action)), r.codes);
    if (*r.problem) {
      ASSERT_EQ(problems.size(), 1u);
      EXPECT_EQ(problems[0].rfind(r.problem, 0), 0u) << problems[0];
    } else {
      EXPECT_TRUE(problems.empty()) << problems.front();
    }
  }
  // A controller button taken by another action feeds that action's state.
  SettingsParse parse = ParseSettingsText("attack1 = Z | x, leftshoulder\n");
  std::vector<std::string> problems;
  const Bindings b = BindActions(DefaultBindings(), parse.actions, problems);
  EXPECT_EQ(PadState(PadMapOf(b), "x"), AttackButton(1));
  EXPECT_EQ(PadState(PadMapOf(b), "leftshoulder"), AttackButton(1));
  EXPECT_EQ(PadState(PadMapOf(b), "a"), -1) << "a is no longer bound";
  EXPECT_EQ(BindingScriptLines(b), (std::vector<std::string>{"0 bind attack1 = Z | x, leftshoulder",
                                                             "0 bind attack3 = C"}));
  // The Controls page's moves: a key or button takes the action's place of all its keys (or
  // buttons) and leaves whichever action had it; the other half of the binding stays.
  struct Move {
    std::size_t action;
    const char* key;     // or
    const char* button;  // the one bound
    const char* changed;
    const char* left;  // the action that gave it up, as written then
  } moves[] = {
      {4, "X", nullptr, "X | a", "attack2 = | b"},
      {0, "Right Ctrl", nullptr, "Right Ctrl | dpleft", "attack4 = | y"},  // both Ctrl keys go
      {2, nullptr, "a", "Up, K, Keypad 8 | a", "attack1 = Z"},
      {8, nullptr, "start", "Space | start", "pause = Escape | back"},
  };
  for (const Move& m : moves) {
    SCOPED_TRACE(m.changed);
    Bindings moved = DefaultBindings();
    if (m.key) {
      BindKey(moved, m.action, *KeyIdFromName(m.key));
    } else {
      BindButton(moved, m.action, m.button);
    }
    EXPECT_EQ(BindingText(moved[m.action]), m.changed);
    const ActionValues values = ActionValuesOf(moved);
    EXPECT_FALSE(values.isDefault[m.action]);
    const std::vector<std::string> lines = BindingScriptLines(moved);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].substr(7), m.left);
  }
  EXPECT_EQ(PadButtonLabel("rightshoulder"), "RB");
  EXPECT_EQ(PadButtonLabel("dpleft"), "D-left");
  EXPECT_EQ(PadButtonLabel("nosuch"), "");
  // Escape stays on the pause, whatever it is bound to.
  AssignBindingKeys(
      BindActions(DefaultBindings(), ParseSettingsText("pause = P\n").actions, problems));
  EXPECT_EQ(Codes(DXInput1.Keyboard.Assigns[kPauseButton]), (std::set<uint8_t>{vk::Escape, 'P'}));
}
