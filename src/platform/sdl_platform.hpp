// The SDL window system: the main window with its GL context, display modes, gamma, message
// boxes and the keyboard, mouse, joystick and game-controller events.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

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
  SdlPlatform(bool interactive, bool windowed);
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  // False when SDL has no display or the main window could not be created; Error() says why.
  bool Ok() const { return window_ != nullptr; }
  const std::string& Error() const { return error_; }

  uint32_t TicksMs() override;
  void WaitUntil(uint32_t ticks) override;
  bool CreateContext(bool fullScreen) override;
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

 private:
  bool Translate(const SDL_Event& sdl, Event& event);
  bool TranslateKey(const SDL_Event& sdl, Event& event);
  bool TranslateController(const SDL_Event& sdl, Event& event);
  void ToggleFullScreen();
  void OpenJoystick();
  void CloseJoystick();
  int DisplayIndex() const;

  SDL_Window* window_ = nullptr;
  void* context_ = nullptr;
  _SDL_Joystick* joystick_ = nullptr;
  _SDL_GameController* controller_ = nullptr;
  // Events made by the platform itself (the release of an unplugged joystick's buttons).
  std::deque<Event> pending_;
  std::string error_;
  bool interactive_ = false;
  bool windowed_ = false;
  bool fullScreen_ = false;
  bool modeChanged_ = false;
  bool focused_ = true;
  bool minimised_ = false;
  bool gammaWarned_ = false;
};
