// The fair yardstick for a one-frame run: what the game's first frame shows, done the shortest way
// an SDL2 program can. It opens the same window (the same GL attributes), loads one compressed
// texture container (.dxt: a 16-byte header of data size, format, width and height, then the
// image), draws it as one blended, textured 800 x 600 quad, presents the frame and quits.
// usage: first_picture FILE.dxt
#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "launch_clock.hpp"

namespace {

struct Picture {
  int32_t format = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<unsigned char> data;
};

bool ReadPicture(const char* path, Picture& p) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  int32_t header[4] = {};
  bool ok = std::fread(header, sizeof header, 1, f) == 1 && header[0] > 0;
  if (ok) {
    p.data.resize(static_cast<std::size_t>(header[0]));
    p.format = header[1];
    p.width = header[2];
    p.height = header[3];
    ok = std::fread(p.data.data(), p.data.size(), 1, f) == 1;
  }
  std::fclose(f);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  Picture picture;
  if (argc != 2 || !ReadPicture(argv[1], picture)) {
    std::fprintf(stderr, "usage: first_picture FILE.dxt (a readable texture container)\n");
    return 2;
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_Window* window = SDL_CreateWindow("first picture", SDL_WINDOWPOS_CENTERED,
                                        SDL_WINDOWPOS_CENTERED, 800, 600, SDL_WINDOW_OPENGL);
  if (!window) return 1;
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) return 1;
  auto upload =
      reinterpret_cast<void (*)(GLenum, GLint, GLenum, GLsizei, GLsizei, GLint, GLsizei,
                                const void*)>(SDL_GL_GetProcAddress("glCompressedTexImage2D"));
  if (!upload) return 1;
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  upload(GL_TEXTURE_2D, 0, static_cast<GLenum>(picture.format), picture.width, picture.height, 0,
         static_cast<GLsizei>(picture.data.size()), picture.data.data());
  glViewport(0, 0, 800, 600);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 800, 0, 600, -1, 1);  // y up, as the game draws
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, 0.5f);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(0, 0);
  glTexCoord2f(1, 0);
  glVertex2f(800, 0);
  glTexCoord2f(1, 1);
  glVertex2f(800, 600);
  glTexCoord2f(0, 1);
  glVertex2f(0, 600);
  glEnd();
  SDL_GL_SwapWindow(window);
  glFinish();
  ReportSinceLaunch("first-frame");
  glDeleteTextures(1, &texture);
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
