// cAnim: the animated sprite. A table of up to 513 pictures, a clip inside it and the play state;
// Advance steps the clip by a frame's time (the owner's step), and Show draws the current picture
// centred on a point, changing nothing.
#pragma once

#include <array>
#include <cstdint>

#include "base/types.hpp"

constexpr std::size_t kAnimFrames = 513;

class cAnim {
 public:
  uint16_t stepCount = 0;  // pictures advanced since the clip (re)started
  float elapsed = 0;       // seconds on the current picture, summed in single precision
  uint8_t phase = 0;       // 0 idle, 1 restart requested, 2 running
  // width, height, the spare word and textures have the layout of a character's frame set, which
  // owners copy in whole.
  int32_t width = 0;
  int32_t height = 0;
  int32_t frameSetWord = 0;
  std::array<Texture, kAnimFrames> textures{};
  uint16_t firstFrame = 0;
  uint16_t frameCount = 0;
  float frameDuration = 0;  // seconds per picture
  uint8_t mirrored = 0;
  uint16_t current = 0;  // absolute index into textures
  uint8_t oneShot = 0;   // play once and hold the last picture
  uint8_t playing = 0;   // 0 holds the current picture

  // Draws the current picture as it stands centred on (x, y) at z = -depth, alpha-tested and
  // blended. A current beyond the table is a fatal range error.
  void Show(double x, double y, double depth) const;

  // The clip step alone: `frameTime` in milliseconds.
  void Advance(double frameTime);
};
