// The input states: keyboard, joystick and game controller folded into 36 states with press and
// release detection, which consumers may remove to make a press act once.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>

#include "base/input_states.hpp"

// The name of a state: "Up", "Down", "Left", "Right", "Button1" .. "Button32".
const char* InputStateName(int state);

struct KeyboardDevice {
  // Three virtual-key codes per state; 0 is an empty slot.
  std::array<std::array<uint8_t, 3>, kInputStateCount> Assigns{};
  // The codes held now.
  std::bitset<256> keysDown;
  // The keys held now, by key id: a code stays held while any key with that code is down (both
  // Ctrl keys, say).
  std::bitset<512> keyIdsDown;

  void Press(int keyId);
  void Release(int keyId);
};

// Joystick 0, or a game controller: axes scaled to -1000..1000, buttons 1..32.
struct StickDevice {
  int axisX = 0;
  int axisY = 0;
  std::bitset<32> buttons;
  // A game controller's buttons held, by their names' order (bindings.hpp), whatever they feed.
  std::bitset<32> named;
};

// The centre/negative/positive outcome of an axis with the 50 % dead zone.
int AxisDirection(int value);

class InputComponent {
 public:
  StateSet States;
  KeyboardDevice Keyboard;
  StickDevice Joystick;
  StickDevice Pad;
  // The main window is the foreground window; while it is not, every device reports nothing.
  bool focused = true;

  // The assignments of the main window: directions, Button1, Button2, Button9.
  void AssignFormDefaults();
  // Press and release detection; once at the start of every frame.
  void Update();

  bool Has(int state) const { return States.test(state); }
  void Remove(int state) { States.reset(state); }
  void Assign(int state, int slot, uint8_t keyCode);

  // What the devices report now (empty while not focused).
  StateSet KeyboardStates() const;
  static StateSet StickStates(const StickDevice& stick);

  // The window lost the focus: every state is released because the devices report nothing, and
  // the sticks are centred. The keyboard keeps the keys its events say are held.
  void LoseFocus();
  // The focus is back: the keyboard reports what is held now again, as a polled keyboard would.
  void GainFocus() { focused = true; }

 private:
  StateSet previous_;
};

extern InputComponent DXInput1;
