// cBlow: the explosion, one shared animation played once with its sound.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/types.hpp"
#include "gfx/anim.hpp"

class cBlow {
 public:
  SoundHandle soundHandle = 0;
  std::string frameFolder;
  std::string soundFile;
  int32_t firstFrame = 0;
  int32_t frameCount = 0;
  double frameTime = 0;  // seconds per frame; 0 advances one frame per draw
};

// The one explosion animation of the program (the explosion objects share it).
struct ExplosionPlayer {
  std::unique_ptr<cAnim> anim;
};

// Loads the frames and the sound of `blow` into the shared animation of `player`.
void BlowInit(cBlow& blow, ExplosionPlayer& player);
// Draws the next frame while `active`, plays the sound, and clears `active` after the last frame.
void BlowPlay(cBlow& blow, cAnim* anim, int32_t width, int32_t height, double x, double y,
              double depth, double frameTime, int32_t volume, uint8_t& active, double& soundGate);
