// The SDL window system: the main window with its GL context, display modes, gamma, message
// boxes and the keyboard, mouse, joystick and game-controller events.
#pragma once

#include <SDL_scancode.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "app/letterbox.hpp"
#include "app/platform.hpp"

struct SDL_Window;
struct _SDL_Joystick;
struct _SDL_GameController;
union SDL_Event;

// A controller or joystick axis scaled to the game's -1000..1000.
int ScaleSdlAxis(int16_t value);

class SdlPlatform : public Platform {
 public:
  // `interactive`: message boxes are shown (never in scripted or counted runs).
  // A window of the given size, or full screen; `vsync` waits for the display at each frame.
  SdlPlatform(bool interactive, bool windowed, int windowWidth = 800, int windowHeight = 600,
              bool vsync = false);
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  // False when SDL has no display or the main window could not be created; Error() says why.
  bool Ok() const { return window_ != nullptr; }
  void SetTitle(const std::string& title) override;
  void Raise() override;
  void SetTextEntry(bool on) override { textEntry_ = on; }
  const std::string& Error() const { return error_; }
  // Gives the window the largest 4:3 size that fits, with its frame, in the usable area of its
  // display (see LargestWindowIn). The frame is known once the window is shown: called before,
  // the size is nearly right; called again after, it is right.
  void FitWindowToDisplay();

  uint32_t TicksMs() override;
  void WaitUntil(uint32_t ticks) override;
  bool CreateContext(bool fullScreen) override;
  std::optional<WindowChoice> WindowChangedByPlayer() const override;
  void SetPadMap(const PadMap& map) override { padMap_ = map; }
  void DestroyContext() override;
  bool HasContext() const override { return context_ != nullptr; }
  void SwapBuffers() override;
  Viewport LogicalViewport() const override;
  bool GetDisplayMode(int index, DisplayMode& mode) override;
  bool GetDesktopMode(DisplayMode& mode) override;
  bool ChangeDisplayMode(int index) override;
  void RestoreDesktopMode() override;
  void SetDesktopMode(int index) override;
  bool GetGammaRamp(GammaRamp& ramp) override;
  bool SetGammaRamp(const GammaRamp& ramp) override;
  void ShowMessageBox(const std::string& caption, const std::string& text) override;
  bool PollEvent(Event& event) override;
  bool FramesSuspended() const override;
  void WaitEvent(int timeoutMs) override;
  bool ControllerConnected() const override { return controller_ != nullptr; }
  std::string KeyLabel(const std::string& keyName) const override;
  void SetVsync(bool on) override;

 private:
  bool Translate(const SDL_Event& sdl, Event& event);
  // Key events, typed characters and the keys held at a focus gain live in sdl_keys.cpp.
  bool TranslateKey(const SDL_Event& sdl, Event& event);
  bool TranslateText(const SDL_Event& sdl, Event& event);
  bool TranslateController(const SDL_Event& sdl, Event& event);
  void QueueHeldKeys();
  void QueueReleasedFocusKeys();
  bool TakePending(Event& event);
  void ToggleFullScreen();
  void NoteWindowSize(int width, int height);
  // SDL_SetWindowFullscreen where the window system carries it out (see sdl_platform.cpp).
  bool SetFullScreen(uint32_t flags);
  // `event` becomes a move of the cursor to this point of the window; false when the game's
  // cursor is there already.
  bool MouseMoveTo(int windowX, int windowY, Event& event);
  void StartInputDevices();
  void OpenJoystick();
  void CloseJoystick();
  int DisplayIndex() const;

  SDL_Window* window_ = nullptr;
  void* context_ = nullptr;
  _SDL_Joystick* joystick_ = nullptr;
  _SDL_GameController* controller_ = nullptr;
  // Events made by the platform itself (the release of an unplugged joystick's buttons, the keys
  // held when the focus returns).
  std::deque<Event> pending_;
  std::string error_;
  bool interactive_ = false;
  bool windowed_ = false;
  bool fullScreen_ = false;
  bool modeChanged_ = false;
  // Never made full screen: the window still has the windowed size and place it was opened with.
  bool windowAsOpened_ = true;
  bool focused_ = true;
  bool framePresented_ = false;
  bool inputDevicesStarted_ = false;
  bool minimised_ = false;
  bool gammaWarned_ = false;
  bool vsync_ = false;
  PadMap padMap_ = PadMapOf(DefaultBindings());
  bool vsyncWarned_ = false;
  // Alt+Enter or a resize of the window by the player since the start, and the window's size.
  bool windowChanged_ = false;
  int windowWidth_ = 800;
  int windowHeight_ = 600;
  // A window move or resize came in the batch of events being read.
  bool geometryChanged_ = false;
  // Where the game's cursor was last moved to.
  bool cursorKnown_ = false;
  LogicalPoint cursor_;
  // The last key event was the press of a key the game has no name for.
  bool unnamedKeyDown_ = false;
  bool textEntry_ = false;
  // Keys found held at the last focus gain. SDL never saw them go down and drops their release,
  // so it is read from the keyboard until they are let go or pressed again.
  std::vector<SDL_Scancode> focusKeys_;
};

// A message box with no game window behind it (a refusal before the game starts), for a player
// who started the game from a desktop menu and has no terminal to read. Does nothing where no
// box can be shown: the terminal has the message too.
void ShowMessageWithoutWindow(const std::string& caption, const std::string& text);
