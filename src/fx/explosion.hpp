// cBlow: the explosion, one shared animation played once with its sound.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
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
  double frameTime = 0;  // seconds per frame; 0 advances one frame per step
};

// The one explosion animation of the program (the explosion objects share it), and the picture
// its last step left to be shown (none when that step found the explosion idle).
struct ExplosionPlayer {
  std::unique_ptr<cAnim> anim;
  std::optional<uint16_t> shown;
};

// Loads the frames and the sound of `blow` into the shared animation of `player`.
void BlowInit(cBlow& blow, ExplosionPlayer& player);
// While `active`: steps to the next picture (noted for BlowShow), plays the sound, and clears
// `active` after the last picture. Then rewinds a finished sound, or stops it when `soundGate`
// is 0 (a restarted level), and sets the gate to 1. A volume beyond 0..255 is a range error.
void BlowStep(cBlow& blow, ExplosionPlayer& player, double frameTime, int32_t volume,
              uint8_t& active, double& soundGate);
// The picture the last step left, width x height centred on (x, y); nothing when it left none.
void BlowShow(const ExplosionPlayer& player, int32_t width, int32_t height, double x, double y,
              double depth);
