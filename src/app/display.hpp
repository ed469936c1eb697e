// Display set-up: GL context, display mode, fixed drawing state, gamma and the mode list.
#pragma once

#include <cstdint>
#include <span>

#include "app/game_state.hpp"

enum class SetupResult {
  Ok,
  NoPixelFormat,        // no GL context could be had; the main window must close
  NoTextureCompression  // reported; the rest of start-up is skipped
};

SetupResult SetupDisplayByIndex(int32_t modeIndex);
SetupResult SetupDisplay(int viewportX, int viewportY, int width, int height, int bitsPerPixel,
                         int frequency, bool fullScreen);
bool SetupPixelFormat(bool fullScreen);
bool LoadGLExtensions();
void BeginFrame(double left, double right, double top, double bottom);
// Shows what has been drawn so far at once, in the middle of a frame (a picture shown while
// something loads); the frame goes on afterwards.
void PresentNow();

// The ramp for a gamma setting: entry i = round-half-even(255 (i/255)^(255/gamma)), at most
// 255, times 256, the same for red, green and blue.
GammaRamp BuildGammaRamp(uint8_t gamma);
void ApplyGamma(uint8_t gamma);
void SaveGammaRamp(GammaRamp& ramp);
void RestoreGammaRamp(const GammaRamp& ramp);

// Index of the last listed mode equal to the desktop's current one, or -1.
int32_t CurrentModeIndex();
// The listed mode of an index; false when there is none.
bool DisplayModeAt(int32_t index, DisplayMode& mode);
// Index of the last listed mode with exactly these four values, or -1.
int32_t FindMode(int width, int height, int bitsPerPixel, int frequency);
void ListModeIndices(int width, int height, int bitsPerPixel, int maxIndex, int& count,
                     std::span<int32_t> indices);
void ListRefreshRates(int width, int height, int bitsPerPixel, int maxIndex, int& count,
                      std::span<int32_t> rates);

void ShutdownDisplay();
