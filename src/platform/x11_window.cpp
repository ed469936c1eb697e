// Whether a window manager runs on the X server of a window.
#include "platform/x11_window.hpp"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

bool WindowManagerRunning(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
  Display* display = info.info.x11.display;
  Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long left = 0;
  unsigned char* data = nullptr;
  bool found = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                  XA_WINDOW, &type, &format, &count, &left, &data) == Success &&
               count == 1;
  if (data) XFree(data);
  return found;
}
