// Display set-up, gamma ramps and display-mode queries.
#include "app/display.hpp"

#include <cmath>
#include <vector>

#include "app/platform.hpp"
#include "audio/sound.hpp"
#include "base/backends.hpp"
#include "base/messages.hpp"
#include "gfx/renderer.hpp"

namespace {
Platform& Plat() {
  return *backends.platform;
}

// Walks the mode list from index 0 until the query fails, calling `visit` on each mode.
template <typename Visit>
void ForEachMode(Visit visit) {
  DisplayMode mode;
  for (int index = 0; Plat().GetDisplayMode(index, mode); ++index) visit(index, mode);
}

bool SameSize(const DisplayMode& m, int width, int height, int bitsPerPixel) {
  return m.width == width && m.height == height && m.bitsPerPixel == bitsPerPixel;
}

// The common tail of both set-ups: fixed state, (optionally) a first frame, the extensions.
SetupResult FinishSetup(bool beginFrame) {
  backends.renderer->SetFixedState(Plat().LogicalViewport());
  if (beginFrame) BeginFrame(0, 800, 0, 600);
  if (!LoadGLExtensions()) return SetupResult::NoTextureCompression;
  gameState.morva.frameTime = 10.0;
  return SetupResult::Ok;
}
}  // namespace

bool SetupPixelFormat(bool fullScreen) {
  if (Plat().CreateContext(fullScreen)) return true;
  ShowMessage("Error",
              "nepareizs pikse\xEF"
              "a form\xE2ts ");
  return false;
}

SetupResult SetupDisplayByIndex(int32_t modeIndex) {
  gameState.morva.timeScale = 1000.0;
  // A player who asked for a window keeps it: the window system refuses the mode change then.
  if (!SetupPixelFormat(true)) return SetupResult::NoPixelFormat;
  DisplayMode mode;
  if (Plat().GetDisplayMode(modeIndex, mode)) Plat().ChangeDisplayMode(modeIndex);
  return FinishSetup(true);
}

SetupResult SetupDisplay(int /*viewportX*/, int /*viewportY*/, int width, int height,
                         int bitsPerPixel, int frequency, bool fullScreen) {
  // The viewport always follows the window (letterboxed); the requested one is its logical size.
  gameState.morva.timeScale = 1000.0;
  if (!SetupPixelFormat(fullScreen)) return SetupResult::NoPixelFormat;
  if (fullScreen && frequency != 0) {
    int32_t found = FindMode(width, height, bitsPerPixel, frequency);
    DisplayMode mode;
    if (found >= 0 && Plat().GetDisplayMode(found, mode)) Plat().ChangeDisplayMode(found);
  }
  return FinishSetup(false);
}

bool LoadGLExtensions() {
  if (backends.renderer->HasTextureCompression()) return true;
  ShowMessage("Error",
              "nevar iel\xE2"
              "d\xE7t GL_ARB_texture_compression !\n"
              "Tava videokarte neatbalsta openGL kompreseetaas textuuras.");
  return false;
}

void BeginFrame(double left, double right, double top, double bottom) {
  backends.renderer->BeginFrame(left, right, top, bottom);
}

void PresentNow() {
  backends.renderer->PresentedMidFrame();
  backends.platform->SwapBuffers();
}

GammaRamp BuildGammaRamp(uint8_t gamma) {
  GammaRamp ramp{};
  double exponent = 255.0 / gamma;
  for (int i = 0; i < 256; ++i) {
    // nearbyint rounds half to even in the default rounding mode.
    double v = std::nearbyint(255.0 * std::pow(i / 255.0, exponent));
    if (v > 255) v = 255;
    auto entry = static_cast<uint16_t>(v * 256);
    ramp[i] = ramp[256 + i] = ramp[512 + i] = entry;
  }
  return ramp;
}

void ApplyGamma(uint8_t gamma) {
  Plat().SetGammaRamp(BuildGammaRamp(gamma));
}

void SaveGammaRamp(GammaRamp& ramp) {
  gameState.savedGammaValid = Plat().GetGammaRamp(ramp);
}

void RestoreGammaRamp(const GammaRamp& ramp) {
  if (gameState.savedGammaValid) Plat().SetGammaRamp(ramp);
}

int32_t CurrentModeIndex() {
  DisplayMode desktop;
  if (!Plat().GetDesktopMode(desktop)) return -1;
  int32_t found = -1;
  ForEachMode([&](int index, const DisplayMode& m) {
    if (m == desktop) found = index;
  });
  return found;
}

bool DisplayModeAt(int32_t index, DisplayMode& mode) {
  return index >= 0 && Plat().GetDisplayMode(index, mode);
}

int32_t FindMode(int width, int height, int bitsPerPixel, int frequency) {
  int32_t found = -1;
  ForEachMode([&](int index, const DisplayMode& m) {
    if (SameSize(m, width, height, bitsPerPixel) && m.frequency == frequency) found = index;
  });
  return found;
}

void ListModeIndices(int width, int height, int bitsPerPixel, int maxIndex, int& count,
                     std::span<int32_t> indices) {
  count = 0;
  ForEachMode([&](int index, const DisplayMode& m) {
    if (!SameSize(m, width, height, bitsPerPixel)) return;
    if (count > maxIndex || static_cast<size_t>(count) >= indices.size()) return;
    indices[count++] = index;
  });
}

void ListRefreshRates(int width, int height, int bitsPerPixel, int maxIndex, int& count,
                      std::span<int32_t> rates) {
  constexpr int kMaxCollected = 512;
  std::vector<int> collected;
  ForEachMode([&](int index, const DisplayMode& m) {
    if (SameSize(m, width, height, bitsPerPixel) && collected.size() < kMaxCollected) {
      collected.push_back(index);
    }
  });
  count = static_cast<int>(collected.size());
  for (size_t j = 0; j < collected.size(); ++j) {
    DisplayMode mode;
    if (static_cast<int>(j) > maxIndex || j >= rates.size()) break;
    if (Plat().GetDisplayMode(collected[j], mode)) rates[j] = mode.frequency;
  }
}

void ShutdownDisplay() {
  Plat().DestroyContext();
  Plat().RestoreDesktopMode();
  BASS_Free();
}
