// The window system of headless runs and tests: no window, a configurable list of display modes,
// a gamma ramp in memory, and a clock that is either real or set by the test.
#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "app/platform.hpp"

class HeadlessPlatform : public Platform {
 public:
  HeadlessPlatform();

  // SIGINT, SIGTERM and SIGHUP become a close request, so a headless run ends through the normal
  // shutdown (settings and outputs written whole) instead of dying mid-frame.
  static void CloseOnSignals();

  uint32_t TicksMs() override;
  void WaitUntil(uint32_t ticks) override;
  bool CreateContext(bool fullScreen) override;
  void DestroyContext() override;
  bool HasContext() const override { return hasContext; }
  void SwapBuffers() override { ++swaps; }
  Viewport LogicalViewport() const override { return Viewport{}; }
  bool GetDisplayMode(int index, DisplayMode& mode) override;
  bool GetDesktopMode(DisplayMode& mode) override;
  bool ChangeDisplayMode(int index) override;
  void RestoreDesktopMode() override;
  void SetDesktopMode(int index) override;
  bool GetGammaRamp(GammaRamp& ramp) override;
  bool SetGammaRamp(const GammaRamp& ramp) override;
  void ShowMessageBox(const std::string& caption, const std::string& text) override;
  bool PollEvent(Event& event) override;
  bool FramesSuspended() const override { return false; }
  void WaitEvent(int timeoutMs) override;
  bool ControllerConnected() const override { return controllerConnected; }

  // What a test sets up.
  std::vector<DisplayMode> modes;
  DisplayMode desktop;
  bool contextAvailable = true;
  bool gammaSupported = true;
  bool controllerConnected = false;
  // The player asked for a window: no full screen, no mode changes.
  bool windowed = false;
  // A clock the test moves by hand; the real monotonic clock when empty.
  std::optional<uint32_t> manualTicks;
  std::deque<Event> events;

  // What the program did.
  bool hasContext = false;
  bool fullScreen = false;
  int currentModeIndex = -1;  // -1: the desktop's own mode
  std::vector<int> modeChanges;
  int desktopRestores = 0;
  std::optional<int> desktopModeSet;
  GammaRamp gamma{};
  int gammaWrites = 0;
  int swaps = 0;
  int messageBoxes = 0;
};
