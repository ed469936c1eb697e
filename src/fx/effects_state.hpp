// The effects' part of the game state: blood, explosion, lightning, sky flashes, the power-up
// flash.
#pragma once

#include <array>
#include <cstdint>

#include "base/types.hpp"
#include "fx/explosion.hpp"
#include "fx/particles.hpp"
#include "gfx/anim.hpp"

struct BoltPoint {
  double x = 0;
  double y = 0;
};

struct EffectsState {
  cParticle bloodParticles;
  cAnim bloodSpray;
  cBlow explosion;
  ExplosionPlayer explosionPlayer;

  uint8_t boltActive = 0;
  uint8_t boltShown = 0;  // the last step left the bolt to be shown
  double boltIntensity = 0;
  std::array<BoltPoint, 6> boltPoints{};

  uint8_t skyAssetsLoaded = 0;
  Texture skyFlashTexture = 0;
  SoundHandle thunderSound = 0;
  float skyTimer = 0;
  float nextFlash = 7.0f;
  float flashAlpha = 1.0f;
  float flashHold = 0;
  uint8_t thunderPlaying = 0;

  uint8_t whiteFlashLoaded = 0;
  Texture whiteFlashTexture = 0;
  double whiteFlashOpacity = 0;
};
