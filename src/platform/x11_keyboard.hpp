// The keys held on an X11 keyboard now, read from the X server itself.
#pragma once

#include <SDL.h>

#include <vector>

// SDL forgets every held key when its window loses the focus and, when the focus returns, gives
// back only the modifiers; the X server still knows the rest. Empty when the window is not on X11.
std::vector<SDL_Scancode> HeldScancodes(SDL_Window* window);
