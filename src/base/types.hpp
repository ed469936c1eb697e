// Small value types every layer shares: texture and sound handles, the gamma ramp, display modes
// and the viewport. Includes nothing of the project, so any layer may use it.
#pragma once

#include <array>
#include <cstdint>

// Texture name handed out by the renderer; 0 draws untextured.
using Texture = uint32_t;

// Stored in a frame table for a frame number whose file does not exist; readers of the table skip
// it, and no renderer ever hands out this texture name.
constexpr Texture frameGap = 5555;

// Sound handle of the audio wrapper; 0 is a stream that could not be opened.
using SoundHandle = uint32_t;

// 256 red, then 256 green, then 256 blue entries.
using GammaRamp = std::array<uint16_t, 768>;

struct DisplayMode {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  int frequency = 0;
  bool operator==(const DisplayMode&) const = default;
};

// Where the 800 x 600 picture lies in the window, in window pixels (origin bottom left, as GL).
struct Viewport {
  int x = 0;
  int y = 0;
  int width = 800;
  int height = 600;
};
