// Whether a window manager runs on the X server of a window.
#pragma once

#include <SDL.h>

// True when an EWMH window manager runs (or the window is not on X11): only a window manager
// acts on SDL's full-screen request, which SDL otherwise takes as granted at once.
bool WindowManagerRunning(SDL_Window* window);
