// What the hand-written GL frames of the benchmarks share: the game's 800 x 600 projection with
// blending on, set up as a minimal program would, once a frame.
#pragma once

#include <SDL_opengl.h>

inline void BeginMinimalFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 800, 600, 0, 0, -10);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_ALPHA_TEST);
}
