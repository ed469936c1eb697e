// The game controller's events in the game's terms: the d-pad and left stick as the directions,
// the face and shoulder buttons as the game's buttons.
#include <SDL.h>

#include <algorithm>

#include "platform/sdl_platform.hpp"

namespace {
// Controller buttons to the game's buttons: Start and Back pause (Escape), the face buttons are
// the four attacks, the right shoulder fires the power-up.
int PadButtonFor(Uint8 button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_START:
    case SDL_CONTROLLER_BUTTON_BACK:
      return 4;
    case SDL_CONTROLLER_BUTTON_A:
      return 5;
    case SDL_CONTROLLER_BUTTON_B:
      return 6;
    case SDL_CONTROLLER_BUTTON_X:
      return 7;
    case SDL_CONTROLLER_BUTTON_Y:
      return 8;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
      return 9;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
      return 10;
    default:
      return 0;
  }
}

}  // namespace

int ScaleSdlAxis(Sint16 value) {
  return std::clamp(value * 1000 / 32767, -1000, 1000);
}

bool SdlPlatform::TranslateController(const SDL_Event& sdl, Event& event) {
  if (sdl.type == SDL_CONTROLLERAXISMOTION) {
    if (sdl.caxis.axis != SDL_CONTROLLER_AXIS_LEFTX &&
        sdl.caxis.axis != SDL_CONTROLLER_AXIS_LEFTY) {
      return false;
    }
    event.type = EventType::PadAxis;
    event.axis = sdl.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX ? 0 : 1;
    event.value = ScaleSdlAxis(sdl.caxis.value);
    return true;
  }
  bool down = sdl.type == SDL_CONTROLLERBUTTONDOWN;
  switch (sdl.cbutton.button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: {
      Uint8 b = sdl.cbutton.button;
      bool negative = b == SDL_CONTROLLER_BUTTON_DPAD_LEFT || b == SDL_CONTROLLER_BUTTON_DPAD_UP;
      event.type = EventType::PadAxis;
      event.axis =
          (b == SDL_CONTROLLER_BUTTON_DPAD_LEFT || b == SDL_CONTROLLER_BUTTON_DPAD_RIGHT) ? 0 : 1;
      event.value = down ? (negative ? -1000 : 1000) : 0;
      return true;
    }
    default:
      break;
  }
  int button = PadButtonFor(sdl.cbutton.button);
  if (button == 0) return false;
  event.type = EventType::PadButton;
  event.key = button;
  event.down = down;
  return true;
}
