// Reading the X server's keyboard map: which of the keys the game names are down.
#include "platform/x11_keyboard.hpp"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <linux/input-event-codes.h>

#include <utility>

namespace {
// X servers on Linux number their keys as the kernel does, plus 8 (the keycodes SDL itself
// recognises as "evdev"). Only keys that the game has a name for are listed.
constexpr int kEvdevOffset = 8;
constexpr std::pair<int, SDL_Scancode> kEvdevKeys[] = {
    {KEY_A, SDL_SCANCODE_A},
    {KEY_B, SDL_SCANCODE_B},
    {KEY_C, SDL_SCANCODE_C},
    {KEY_D, SDL_SCANCODE_D},
    {KEY_E, SDL_SCANCODE_E},
    {KEY_F, SDL_SCANCODE_F},
    {KEY_G, SDL_SCANCODE_G},
    {KEY_H, SDL_SCANCODE_H},
    {KEY_I, SDL_SCANCODE_I},
    {KEY_J, SDL_SCANCODE_J},
    {KEY_K, SDL_SCANCODE_K},
    {KEY_L, SDL_SCANCODE_L},
    {KEY_M, SDL_SCANCODE_M},
    {KEY_N, SDL_SCANCODE_N},
    {KEY_O, SDL_SCANCODE_O},
    {KEY_P, SDL_SCANCODE_P},
    {KEY_Q, SDL_SCANCODE_Q},
    {KEY_R, SDL_SCANCODE_R},
    {KEY_S, SDL_SCANCODE_S},
    {KEY_T, SDL_SCANCODE_T},
    {KEY_U, SDL_SCANCODE_U},
    {KEY_V, SDL_SCANCODE_V},
    {KEY_W, SDL_SCANCODE_W},
    {KEY_X, SDL_SCANCODE_X},
    {KEY_Y, SDL_SCANCODE_Y},
    {KEY_Z, SDL_SCANCODE_Z},
    {KEY_1, SDL_SCANCODE_1},
    {KEY_2, SDL_SCANCODE_2},
    {KEY_3, SDL_SCANCODE_3},
    {KEY_4, SDL_SCANCODE_4},
    {KEY_5, SDL_SCANCODE_5},
    {KEY_6, SDL_SCANCODE_6},
    {KEY_7, SDL_SCANCODE_7},
    {KEY_8, SDL_SCANCODE_8},
    {KEY_9, SDL_SCANCODE_9},
    {KEY_0, SDL_SCANCODE_0},
    {KEY_BACKSPACE, SDL_SCANCODE_BACKSPACE},
    {KEY_TAB, SDL_SCANCODE_TAB},
    {KEY_ENTER, SDL_SCANCODE_RETURN},
    {KEY_KPENTER, SDL_SCANCODE_KP_ENTER},
    {KEY_LEFTSHIFT, SDL_SCANCODE_LSHIFT},
    {KEY_RIGHTSHIFT, SDL_SCANCODE_RSHIFT},
    {KEY_LEFTCTRL, SDL_SCANCODE_LCTRL},
    {KEY_RIGHTCTRL, SDL_SCANCODE_RCTRL},
    {KEY_LEFTALT, SDL_SCANCODE_LALT},
    {KEY_RIGHTALT, SDL_SCANCODE_RALT},
    {KEY_PAUSE, SDL_SCANCODE_PAUSE},
    {KEY_CAPSLOCK, SDL_SCANCODE_CAPSLOCK},
    {KEY_ESC, SDL_SCANCODE_ESCAPE},
    {KEY_SPACE, SDL_SCANCODE_SPACE},
    {KEY_PAGEUP, SDL_SCANCODE_PAGEUP},
    {KEY_PAGEDOWN, SDL_SCANCODE_PAGEDOWN},
    {KEY_END, SDL_SCANCODE_END},
    {KEY_HOME, SDL_SCANCODE_HOME},
    {KEY_LEFT, SDL_SCANCODE_LEFT},
    {KEY_UP, SDL_SCANCODE_UP},
    {KEY_RIGHT, SDL_SCANCODE_RIGHT},
    {KEY_DOWN, SDL_SCANCODE_DOWN},
    {KEY_INSERT, SDL_SCANCODE_INSERT},
    {KEY_DELETE, SDL_SCANCODE_DELETE},
    {KEY_KP0, SDL_SCANCODE_KP_0},
    {KEY_KP1, SDL_SCANCODE_KP_1},
    {KEY_KP2, SDL_SCANCODE_KP_2},
    {KEY_KP3, SDL_SCANCODE_KP_3},
    {KEY_KP4, SDL_SCANCODE_KP_4},
    {KEY_KP5, SDL_SCANCODE_KP_5},
    {KEY_KP6, SDL_SCANCODE_KP_6},
    {KEY_KP7, SDL_SCANCODE_KP_7},
    {KEY_KP8, SDL_SCANCODE_KP_8},
    {KEY_KP9, SDL_SCANCODE_KP_9},
    {KEY_KPASTERISK, SDL_SCANCODE_KP_MULTIPLY},
    {KEY_KPPLUS, SDL_SCANCODE_KP_PLUS},
    {KEY_KPMINUS, SDL_SCANCODE_KP_MINUS},
    {KEY_KPDOT, SDL_SCANCODE_KP_PERIOD},
    {KEY_KPSLASH, SDL_SCANCODE_KP_DIVIDE},
    {KEY_F1, SDL_SCANCODE_F1},
    {KEY_F2, SDL_SCANCODE_F2},
    {KEY_F3, SDL_SCANCODE_F3},
    {KEY_F4, SDL_SCANCODE_F4},
    {KEY_F5, SDL_SCANCODE_F5},
    {KEY_F6, SDL_SCANCODE_F6},
    {KEY_F7, SDL_SCANCODE_F7},
    {KEY_F8, SDL_SCANCODE_F8},
    {KEY_F9, SDL_SCANCODE_F9},
    {KEY_F10, SDL_SCANCODE_F10},
    {KEY_F11, SDL_SCANCODE_F11},
    {KEY_F12, SDL_SCANCODE_F12},
    {KEY_SEMICOLON, SDL_SCANCODE_SEMICOLON},
    {KEY_EQUAL, SDL_SCANCODE_EQUALS},
    {KEY_COMMA, SDL_SCANCODE_COMMA},
    {KEY_MINUS, SDL_SCANCODE_MINUS},
    {KEY_DOT, SDL_SCANCODE_PERIOD},
    {KEY_SLASH, SDL_SCANCODE_SLASH},
    {KEY_GRAVE, SDL_SCANCODE_GRAVE},
    {KEY_LEFTBRACE, SDL_SCANCODE_LEFTBRACKET},
    {KEY_BACKSLASH, SDL_SCANCODE_BACKSLASH},
    {KEY_RIGHTBRACE, SDL_SCANCODE_RIGHTBRACKET},
    {KEY_APOSTROPHE, SDL_SCANCODE_APOSTROPHE},
};
}  // namespace

std::vector<SDL_Scancode> HeldScancodes(SDL_Window* window) {
  std::vector<SDL_Scancode> held;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
    return held;
  }
  char keys[32] = {};
  XQueryKeymap(info.info.x11.display, keys);
  for (const auto& [evdev, scancode] : kEvdevKeys) {
    int keycode = evdev + kEvdevOffset;
    if (keys[keycode / 8] & (1 << (keycode % 8))) held.push_back(scancode);
  }
  return held;
}
