// Dispatch of window events between frames.
#include "app/window_events.hpp"

#include <algorithm>

#include "app/input.hpp"
#include "app/key_names.hpp"
#include "app/main_loop.hpp"

namespace {
void SetAxis(StickDevice& stick, int axis, int value) {
  value = std::clamp(value, -1000, 1000);
  (axis == 0 ? stick.axisX : stick.axisY) = value;
}

void SetButton(StickDevice& stick, int button, bool down) {
  if (button >= 1 && button <= 32) stick.buttons.set(static_cast<size_t>(button - 1), down);
}

// A level left running while the player is away would cost life: it pauses as Escape pauses it.
void PauseRunningLevel() {
  ModeFlags& f = gameState.flags;
  if (f.inGame == 0 || f.paused == 1 || f.levelFinished == 1) return;
  f.paused = 1;
  f.menuShown = 1;
}
}  // namespace

bool HandleWindowEvent(const Event& e) {
  switch (e.type) {
    case EventType::KeyDown:
      DXInput1.Keyboard.Press(e.keyId != 0 ? e.keyId : e.key);
      if (IsCharacterKey(static_cast<uint8_t>(e.key))) FormKeyPress();
      break;
    case EventType::KeyUp:
      DXInput1.Keyboard.Release(e.keyId != 0 ? e.keyId : e.key);
      FormKeyUp();
      break;
    case EventType::Text:
      FormKeyPress();
      break;
    case EventType::MouseMove:
      gameState.cursorX = e.x;
      gameState.cursorY = e.y;
      break;
    case EventType::MouseDown:
      FormMouseDown(e.button);
      break;
    case EventType::MouseUp:
      FormMouseUp();
      break;
    case EventType::JoyAxis:
      SetAxis(DXInput1.Joystick, e.axis, e.value);
      break;
    case EventType::JoyButton:
      SetButton(DXInput1.Joystick, e.key, e.down);
      break;
    case EventType::PadAxis:
      SetAxis(DXInput1.Pad, e.axis, e.value);
      break;
    case EventType::PadButton:
      SetButton(DXInput1.Pad, e.key, e.down);
      break;
    case EventType::PadPress:
      if (e.key >= 0 && e.key < 32) DXInput1.Pad.named.set(static_cast<size_t>(e.key), e.down);
      break;
    case EventType::FocusLost:
      DXInput1.LoseFocus();
      PauseRunningLevel();
      break;
    case EventType::FocusGained:
      // The window system follows this with a key-down for every key held through the switch.
      DXInput1.GainFocus();
      break;
    case EventType::Quit:
      return true;
    case EventType::Screenshot:
    case EventType::MouseWheel:  // the game has no use for the wheel
      break;
  }
  return false;
}
