// Reading the menu controls from the devices, and taking them out of the input states.
#include "ui/menu_keys.hpp"

#include "app/bindings.hpp"
#include "app/game_state.hpp"
#include "app/input.hpp"
#include "app/key_names.hpp"

namespace {
// Held this long, a direction starts repeating, once per interval.
constexpr double kRepeatDelayMs = 400;
constexpr double kRepeatIntervalMs = 90;
// The controller's A and B buttons, as the buttons they feed by default (the first two attacks,
// as recordings made before buttons were bound hold them) and by their names, whatever they feed.
constexpr int kPadA = 5;
constexpr int kPadB = 6;
constexpr int kNamedA = 0;
constexpr int kNamedB = 1;

struct Control {
  uint8_t key1;  // virtual-key codes, 0 for none
  uint8_t key2;
  int padButton;  // 0 for none
  int padAxis;    // 0 x, 1 y, -1 for none
  int padDirection;
  int padNamed = -1;  // a controller button by its place in kPadButtonNames, -1 for none
};
// In the order of MenuControl.
constexpr std::array<Control, kMenuControlCount> kControls = {{
    {vk::UpArrow, 0, 0, 1, -1},
    {vk::DownArrow, 0, 0, 1, 1},
    {vk::LeftArrow, 0, 0, 0, -1},
    {vk::RightArrow, 0, 0, 0, 1},
    {vk::Return, vk::Space, kPadA, -1, 0, kNamedA},
    {0, 0, kPadB, -1, 0, kNamedB},
}};

struct Reader {
  int64_t frame = 0;
  std::array<bool, kMenuControlCount> held{};
  std::array<double, kMenuControlCount> heldMs{};
  // Went down this frame, not a repeat of a held one.
  std::array<bool, kMenuControlCount> pressed{};
  // Held since before the screen's visit started (a direction held through the pause, say): it
  // works nothing on the screen until it is let go, and its input state is left to the level.
  std::array<bool, kMenuControlCount> heldOver{};
  MenuKeys keys;
  bool highlight = false;
  int cursorX = 0;
  int cursorY = 0;
  bool mouseDown = false;
};
Reader reader;

bool IsHeld(const Control& c) {
  const InputComponent& in = DXInput1;
  if (!in.focused) return false;
  bool held = (c.key1 != 0 && in.Keyboard.keysDown.test(c.key1)) ||
              (c.key2 != 0 && in.Keyboard.keysDown.test(c.key2));
  if (c.padButton != 0) held = held || in.Pad.buttons.test(static_cast<size_t>(c.padButton - 1));
  if (c.padNamed >= 0) held = held || in.Pad.named.test(static_cast<size_t>(c.padNamed));
  if (c.padAxis >= 0) {
    int value = c.padAxis == 0 ? in.Pad.axisX : in.Pad.axisY;
    held = held || AxisDirection(value) == c.padDirection;
  }
  return held;
}

// Takes out of the input states whatever the control's keys and buttons feed.
void RemoveStatesOf(const Control& c) {
  for (int s = 0; s < kInputStateCount; ++s) {
    for (uint8_t key : DXInput1.Keyboard.Assigns[static_cast<size_t>(s)]) {
      if (key != 0 && (key == c.key1 || key == c.key2)) DXInput1.Remove(s);
    }
  }
  if (c.padButton != 0) DXInput1.Remove(ButtonState(c.padButton));
  if (c.padNamed >= 0) {
    const int fed = PadMapOf(gameState.bindings)[static_cast<size_t>(c.padNamed)];
    if (fed >= 0) DXInput1.Remove(fed);
  }
  if (c.padAxis == 0) DXInput1.Remove(c.padDirection < 0 ? Left : Right);
  if (c.padAxis == 1) DXInput1.Remove(c.padDirection < 0 ? Up : Down);
}

bool Repeats(MenuControl c) {
  return c == MenuControl::Up || c == MenuControl::Down || c == MenuControl::Left ||
         c == MenuControl::Right;
}
}  // namespace

void ReadMenuKeys(double frameMs) {
  Reader& r = reader;
  ++r.frame;
  r.keys = MenuKeys{};
  r.keys.highlightWasShown = r.highlight;
  bool any = false;
  for (size_t i = 0; i < kControls.size(); ++i) {
    bool held = IsHeld(kControls[i]);
    bool fired = held && !r.held[i];
    if (held && r.held[i] && Repeats(static_cast<MenuControl>(i))) {
      double before = r.heldMs[i];
      r.heldMs[i] += frameMs;
      // Fires each time the held time passes the delay plus a whole number of intervals.
      auto ticks = [](double ms) {
        return ms < kRepeatDelayMs ? -1
                                   : static_cast<int>((ms - kRepeatDelayMs) / kRepeatIntervalMs);
      };
      fired = ticks(r.heldMs[i]) > ticks(before);
    }
    if (!held) r.heldMs[i] = 0;
    r.pressed[i] = held && !r.held[i];
    r.held[i] = held;
    r.keys.fired[i] = fired;
    any = any || fired;
  }
  // The mouse takes over as soon as it moves or clicks.
  bool mouseDown = gameState.flags.mouseLeftDown == 1 || gameState.flags.mouseRightDown == 1;
  bool mouseActed = gameState.cursorX != r.cursorX || gameState.cursorY != r.cursorY ||
                    (mouseDown && !r.mouseDown);
  r.cursorX = gameState.cursorX;
  r.cursorY = gameState.cursorY;
  r.mouseDown = mouseDown;
  if (mouseActed) r.highlight = false;
  if (any) r.highlight = true;
}

MenuKeys TakeMenuKeys(int64_t& lastFrame) {
  bool firstFrame = lastFrame != reader.frame - 1;
  lastFrame = reader.frame;
  if (firstFrame) {
    MenuKeys none;
    none.highlightWasShown = reader.keys.highlightWasShown;
    none.visitStarts = true;
    reader.heldOver = reader.held;
    return none;
  }
  MenuKeys keys = reader.keys;
  for (size_t i = 0; i < kControls.size(); ++i) {
    if (!reader.held[i]) reader.heldOver[i] = false;
    if (reader.heldOver[i]) keys.fired[i] = false;
    // A repeat takes nothing: the press before it already took the states its keys feed.
    if (keys.fired[i] && reader.pressed[i]) RemoveStatesOf(kControls[i]);
  }
  return keys;
}

bool MenuHighlightShown() {
  return reader.highlight;
}

void ResetMenuKeys() {
  reader = Reader{};
}
