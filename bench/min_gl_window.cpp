// The yardstick for start-up time: the least an SDL2 program does to open a GL window and
// present one frame.
#include <SDL.h>
#include <SDL_opengl.h>

#include "launch_clock.hpp"

int main() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_Window* window = SDL_CreateWindow("min", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800,
                                        600, SDL_WINDOW_OPENGL);
  if (!window) return 1;
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) return 1;
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  SDL_GL_SwapWindow(window);
  glFinish();
  ReportSinceLaunch("first-frame");
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
