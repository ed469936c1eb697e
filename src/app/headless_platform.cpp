// The headless window system.
#include "app/headless_platform.hpp"

#include "app/monotonic_clock.hpp"

#include <chrono>
#include <thread>

#include "base/stop_signals.hpp"

HeadlessPlatform::HeadlessPlatform() {
  // One mode, as a virtual frame buffer offers; tests replace the list.
  desktop = DisplayMode{800, 600, 32, 60};
  modes = {desktop};
  for (int i = 0; i < 256; ++i) gamma[i] = gamma[256 + i] = gamma[512 + i] = i * 257;
}

uint32_t HeadlessPlatform::TicksMs() {
  return manualTicks ? *manualTicks : MonotonicMs();
}

void HeadlessPlatform::WaitUntil(uint32_t ticks) {
  if (manualTicks) {
    // A hand-moved clock jumps straight to the moment waited for.
    if (static_cast<int32_t>(ticks - *manualTicks) > 0) manualTicks = ticks;
    return;
  }
  SleepUntilTick(ticks);
}

bool HeadlessPlatform::CreateContext(bool full) {
  if (!contextAvailable) return false;
  hasContext = true;
  fullScreen = full && !windowed;
  return true;
}

void HeadlessPlatform::DestroyContext() {
  hasContext = false;
}

bool HeadlessPlatform::GetDisplayMode(int index, DisplayMode& mode) {
  if (index < 0 || index >= static_cast<int>(modes.size())) return false;
  mode = modes[static_cast<size_t>(index)];
  return true;
}

bool HeadlessPlatform::GetDesktopMode(DisplayMode& mode) {
  mode = desktop;
  return true;
}

bool HeadlessPlatform::ChangeDisplayMode(int index) {
  if (windowed || index < 0 || index >= static_cast<int>(modes.size())) return false;
  currentModeIndex = index;
  modeChanges.push_back(index);
  return true;
}

void HeadlessPlatform::RestoreDesktopMode() {
  currentModeIndex = -1;
  ++desktopRestores;
}

void HeadlessPlatform::SetDesktopMode(int index) {
  desktopModeSet = index;
}

bool HeadlessPlatform::GetGammaRamp(GammaRamp& ramp) {
  if (!gammaSupported) return false;
  ramp = gamma;
  return true;
}

bool HeadlessPlatform::SetGammaRamp(const GammaRamp& ramp) {
  if (!gammaSupported) return false;
  gamma = ramp;
  ++gammaWrites;
  return true;
}

void HeadlessPlatform::ShowMessageBox(const std::string&, const std::string&) {
  ++messageBoxes;
}

void HeadlessPlatform::CloseOnSignals() {
  // A closed terminal (SIGHUP) ends the run as SIGTERM does, its changed settings written.
  InstallStopHandlers();
}

bool HeadlessPlatform::PollEvent(Event& event) {
  if (TakeStopRequest()) {
    event = Event{};
    event.type = EventType::Quit;
    return true;
  }
  if (events.empty()) return false;
  event = events.front();
  events.pop_front();
  return true;
}

void HeadlessPlatform::WaitEvent(int timeoutMs) {
  if (manualTicks) {
    *manualTicks += static_cast<uint32_t>(timeoutMs);
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
  }
}
