// The animation clip and its drawing.
#include "gfx/anim.hpp"

#include "base/backends.hpp"
#include "base/messages.hpp"
#include "gfx/renderer.hpp"

void cAnim::Advance(double frameTime) {
  if (oneShot == 1 && phase == 0) phase = 1;
  if (phase == 1) {
    current = firstFrame;
    elapsed = 0;
    stepCount = 0;
    phase = 2;
  }
  if (playing != 1) return;
  // The frame that changes the picture adds no time, so each picture lasts its duration plus one
  // frame; the sum is kept in single precision, which decides the exact frame of the change.
  if (elapsed >= frameDuration) {
    elapsed = 0;
    ++stepCount;
    current = static_cast<uint16_t>(firstFrame + stepCount);
  } else {
    elapsed = static_cast<float>(elapsed + frameTime * 0.001);
  }
  if (current > firstFrame + frameCount - 1) {
    current = firstFrame;
    stepCount = 0;
    if (oneShot == 1) {
      current = static_cast<uint16_t>(firstFrame + frameCount - 1);
      playing = 0;
    }
  }
}

void cAnim::Show(double x, double y, double depth) const {
  Texture texture = At(textures, current, "animation picture");
  backends.renderer->DrawAnim(texture, x, y, depth, width, height, mirrored == 1);
}
