// The 36 input states the game reads (four directions and 32 buttons), the buttons it reads by
// name, and a set of states: what one frame's input is to the game.
#pragma once

#include <bitset>
#include <cstdint>

enum InputState : uint8_t {
  Up = 0,
  Down = 1,
  Left = 2,
  Right = 3,
  Button1 = 4,
  // Button n is Button1 + n - 1, up to Button32 (35).
  Button32 = 35,
};
constexpr int kInputStateCount = 36;
constexpr InputState ButtonState(int n) {
  return static_cast<InputState>(Button1 + n - 1);
}

// The buttons the game reads (what feeds them is the players' bindings, app/bindings.hpp): the
// pause and back (Escape), attacks 1 to 4 and the power-up.
constexpr InputState kPauseButton = ButtonState(4);
constexpr InputState AttackButton(int attack) {
  return ButtonState(4 + attack);
}
constexpr InputState kPowerUpButton = ButtonState(10);
// Button 9 is fed, but nothing reads it.
constexpr InputState kUnreadButton = ButtonState(9);

using StateSet = std::bitset<kInputStateCount>;
