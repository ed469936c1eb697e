// Sizing a window to the display it is on: the largest 4:3 size inside the display's usable area.
#include <SDL.h>

#include "platform/sdl_platform.hpp"
#include "platform/x11_window.hpp"

namespace {

// How long a window manager is given to say how thick its frame is, after the window is shown.
constexpr Uint32 kFrameWaitMs = 400;

// The frame a window manager puts around the window: it says so soon after the window is shown,
// and SDL reads it from the events. None without a window manager, or before the window shows.
FrameBorders Frame(SDL_Window* window) {
  FrameBorders f;
  if ((SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) == 0 || !WindowManagerRunning(window)) {
    return f;
  }
  const Uint32 giveUp = SDL_GetTicks() + kFrameWaitMs;
  while (true) {
    SDL_PumpEvents();
    if (SDL_GetWindowBordersSize(window, &f.top, &f.left, &f.bottom, &f.right) == 0 &&
        (f.top > 0 || f.left > 0 || f.bottom > 0 || f.right > 0)) {
      return f;
    }
    if (SDL_TICKS_PASSED(SDL_GetTicks(), giveUp)) return FrameBorders{};
    SDL_Delay(10);
  }
}

}  // namespace

void SdlPlatform::FitWindowToDisplay() {
  if (!window_) return;
  SDL_Rect usable{};
  if (SDL_GetDisplayUsableBounds(DisplayIndex(), &usable) != 0) return;
  const WindowPlace place =
      LargestWindowIn({usable.x, usable.y, usable.w, usable.h}, Frame(window_));
  // The size the window was opened with, not one the player chose.
  windowWidth_ = place.width;
  windowHeight_ = place.height;
  SDL_SetWindowSize(window_, place.width, place.height);
  SDL_SetWindowPosition(window_, place.x, place.y);
}
