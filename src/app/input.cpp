// Input states with press and release edges.
#include "app/input.hpp"

#include <string>

#include "app/key_names.hpp"
#include "base/messages.hpp"

InputComponent DXInput1;

namespace {
constexpr int kDeadZone = 500;  // 50 % of the 1000 range
}

const char* InputStateName(int state) {
  static const std::array<std::string, kInputStateCount> names = [] {
    std::array<std::string, kInputStateCount> n;
    n[Up] = "Up";
    n[Down] = "Down";
    n[Left] = "Left";
    n[Right] = "Right";
    for (int b = 1; b <= 32; ++b) n[ButtonState(b)] = "Button" + std::to_string(b);
    return n;
  }();
  return At(names, static_cast<size_t>(state), "input state").c_str();
}

int AxisDirection(int value) {
  if (value < -kDeadZone) return -1;
  if (value > kDeadZone) return 1;
  return 0;
}

void InputComponent::AssignFormDefaults() {
  Keyboard.Assigns = {};
  Keyboard.Assigns[Up] = {'K', vk::UpArrow, vk::Numpad8};
  Keyboard.Assigns[Down] = {'J', vk::DownArrow, vk::Numpad2};
  Keyboard.Assigns[Left] = {'H', vk::LeftArrow, vk::Numpad4};
  Keyboard.Assigns[Right] = {'L', vk::RightArrow, vk::Numpad6};
  Keyboard.Assigns[ButtonState(1)] = {'Z', vk::Space, 0};
  Keyboard.Assigns[ButtonState(2)] = {'X', vk::Return, 0};
  Keyboard.Assigns[ButtonState(9)] = {vk::F2, 0, 0};
}

void KeyboardDevice::Press(int keyId) {
  if (keyId <= 0 || keyId >= kKeyIdCount) return;
  keyIdsDown.set(static_cast<size_t>(keyId));
  if (uint8_t code = KeyCodeOfId(keyId); code != 0) keysDown.set(code);
}

void KeyboardDevice::Release(int keyId) {
  if (keyId <= 0 || keyId >= kKeyIdCount) return;
  keyIdsDown.reset(static_cast<size_t>(keyId));
  uint8_t code = KeyCodeOfId(keyId);
  if (code == 0) return;
  bool stillHeld = false;
  for (int id = 1; id < kKeyIdCount && !stillHeld; ++id) {
    stillHeld = keyIdsDown.test(static_cast<size_t>(id)) && KeyCodeOfId(id) == code;
  }
  keysDown.set(code, stillHeld);
}

void InputComponent::Assign(int state, int slot, uint8_t keyCode) {
  At(At(Keyboard.Assigns, static_cast<size_t>(state), "input state"), static_cast<size_t>(slot),
     "key slot") = keyCode;
}

StateSet InputComponent::KeyboardStates() const {
  StateSet set;
  if (!focused) return set;
  for (int s = 0; s < kInputStateCount; ++s) {
    for (uint8_t key : Keyboard.Assigns[s]) {
      if (key != 0 && Keyboard.keysDown.test(key)) set.set(s);
    }
  }
  return set;
}

StateSet InputComponent::StickStates(const StickDevice& stick) {
  StateSet set;
  int x = AxisDirection(stick.axisX);
  int y = AxisDirection(stick.axisY);
  if (x < 0) set.set(Left);
  if (x > 0) set.set(Right);
  if (y < 0) set.set(Up);
  if (y > 0) set.set(Down);
  for (int b = 1; b <= 32; ++b) {
    if (stick.buttons.test(b - 1)) set.set(ButtonState(b));
  }
  return set;
}

void InputComponent::Update() {
  StateSet combined = KeyboardStates();
  if (focused) combined |= StickStates(Joystick) | StickStates(Pad);
  StateSet pressed = combined & ~previous_;
  StateSet released = previous_ & ~combined;
  States |= pressed;
  States &= ~released;
  previous_ = combined;
}

void InputComponent::LoseFocus() {
  focused = false;
  Joystick = {};
  Pad = {};
}
