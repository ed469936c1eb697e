// The window-system boundary: clock, window and GL context, display modes, gamma, message boxes
// and events. The SDL implementation lives in sdl_platform.cpp, the fake in headless_platform.cpp.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/bindings.hpp"
#include "base/types.hpp"
#include "formats/settings_text.hpp"

enum class EventType {
  KeyDown,    // key = virtual-key code; an auto-repeat comes as Text, never as KeyDown
  KeyUp,      // key = virtual-key code
  Text,       // a character typed without a key state (a key the game has no name for); key =
              // its first byte (every byte of every character during text entry)
  MouseMove,  // x, y in logical coordinates
  MouseDown,  // button
  MouseUp,    // button
  JoyAxis,    // axis 0 = x, 1 = y; value -1000..1000
  JoyButton,  // button 1..32; down
  PadAxis,    // game controller stick or d-pad, same meaning as JoyAxis
  PadButton,  // game controller button mapped to a state button 1..32; down
  PadPress,   // game controller button by its place in kPadButtonNames (key); down. Comes
              // before whatever the button feeds, also when it feeds nothing
  FocusLost,
  FocusGained,  // followed by a KeyDown for each key held at that moment
  Quit,         // the window was closed by the system
  Screenshot,   // F12
  MouseWheel,   // value = notches, away from the user positive (the game reads none)
};

enum class MouseButton { Left, Right, Middle };

struct Event {
  EventType type = EventType::Quit;
  int key = 0;
  // Which key it was, where keys share a code (see key_names.hpp); 0 when unknown.
  int keyId = 0;
  int x = 0;
  int y = 0;
  MouseButton button = MouseButton::Left;
  int axis = 0;
  int value = 0;
  bool down = false;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Millisecond tick count of a monotonic clock; wraps like a 32-bit tick counter.
  virtual uint32_t TicksMs() = 0;
  // Sleeps until the tick count reaches `ticks` (no busy waiting).
  virtual void WaitUntil(uint32_t ticks) = 0;

  // Creates the GL context on the main window (first call) and shows the window, full screen
  // unless the player chose a window (--windowed, Alt+Enter); false when no context with the
  // needed pixel format can be had.
  virtual bool CreateContext(bool fullScreen) = 0;
  // Waits for the display's refresh at each swap, or not (where the driver allows).
  virtual void SetVsync(bool /*on*/) {}
  // Which input state each controller button feeds (bindings.hpp's PadMap order).
  virtual void SetPadMap(const PadMap& /*map*/) {}
  // How the player left the window, when Alt+Enter or a resize changed it during the run.
  virtual std::optional<WindowChoice> WindowChangedByPlayer() const { return std::nullopt; }
  // Releases the GL context.
  virtual void DestroyContext() = 0;
  virtual bool HasContext() const = 0;
  virtual void SwapBuffers() = 0;
  // Where the logical 800 x 600 picture goes in the window (letterboxed).
  virtual Viewport LogicalViewport() const = 0;

  // The display-mode list of the window's display; false past its end.
  virtual bool GetDisplayMode(int index, DisplayMode& mode) = 0;
  virtual bool GetDesktopMode(DisplayMode& mode) = 0;
  // Switches the full-screen window to a listed mode (refused while the player wants a window).
  virtual bool ChangeDisplayMode(int index) = 0;
  // Leaves any mode the program switched to.
  virtual void RestoreDesktopMode() = 0;
  // Makes a listed mode the desktop's mode again at exit (the one found at start-up).
  virtual void SetDesktopMode(int index) = 0;

  virtual bool GetGammaRamp(GammaRamp& ramp) = 0;
  virtual bool SetGammaRamp(const GammaRamp& ramp) = 0;

  // Shows a modal box (only in interactive runs); texts are UTF-8.
  virtual void ShowMessageBox(const std::string& caption, const std::string& text) = 0;

  // Next pending window-system event; false when there is none.
  virtual bool PollEvent(Event& event) = 0;
  // Full screen and not focused (or minimised): the frame timer stands still.
  virtual bool FramesSuspended() const = 0;
  // Blocks until an event arrives or `timeoutMs` passes.
  virtual void WaitEvent(int timeoutMs) = 0;
  // What the keyboard layout in use marks on the key of a US key name ("W" for "Z" on a French
  // layout), UTF-8; the name itself where the layout does not say.
  virtual std::string KeyLabel(const std::string& keyName) const { return keyName; }
  // The window's title (UTF-8).
  virtual void SetTitle(const std::string& /*title*/) {}
  // Brings the window to the front with the keyboard's focus.
  virtual void Raise() {}
  // While on, every character typed comes as Text events, one per byte of its UTF-8 (also for
  // keys that have a name and come as KeyDown too), and a held key repeats only its character:
  // for typing a name into a field.
  virtual void SetTextEntry(bool /*on*/) {}
  // A game controller (with its named buttons) is plugged in.
  virtual bool ControllerConnected() const = 0;
};
