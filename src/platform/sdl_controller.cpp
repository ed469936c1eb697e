// The game controller's events in the game's terms: the d-pad and left stick as the directions,
// the face and shoulder buttons as the game's buttons.
#include <SDL.h>

#include <algorithm>

#include "app/input.hpp"
#include "platform/sdl_platform.hpp"

namespace {
// The directions a controller button may stand for, as the axis events the d-pad has always sent.
struct AxisPush {
  int state;
  int axis;
  int value;
};
constexpr AxisPush kAxisPushes[] = {
    {Left, 0, -1000}, {Right, 0, 1000}, {Up, 1, -1000}, {Down, 1, 1000}};

// The buttons feed what the bindings say: by default the d-pad the directions, the face buttons
// the four attacks, the right shoulder the power-up, Start and Back the pause.
bool FedByButton(int state, bool down, Event& event) {
  for (const AxisPush& push : kAxisPushes) {
    if (push.state != state) continue;
    event.type = EventType::PadAxis;
    event.axis = push.axis;
    event.value = down ? push.value : 0;
    return true;
  }
  if (state < Button1 || state > Button32) return false;
  event.type = EventType::PadButton;
  event.key = state - Button1 + 1;
  event.down = down;
  return true;
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
  if (sdl.cbutton.button >= padMap_.size()) return false;
  // The button by its name first (the Controls page binds what is pressed), then what it feeds.
  event.type = EventType::PadPress;
  event.key = sdl.cbutton.button;
  event.down = down;
  Event fed;
  if (FedByButton(padMap_[sdl.cbutton.button], down, fed)) pending_.push_front(fed);
  return true;
}
