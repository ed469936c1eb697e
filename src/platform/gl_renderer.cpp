// OpenGL drawing.
#include "platform/gl_renderer.hpp"

#include <SDL.h>
#include <SDL_opengl.h>

#include "platform/letterbox.hpp"

namespace {
PFNGLCOMPRESSEDTEXIMAGE2DARBPROC compressedTexImage2D = nullptr;
PFNGLGETCOMPRESSEDTEXIMAGEARBPROC getCompressedTexImage = nullptr;

template <typename Proc>
Proc Fetch(const char* name, const char* coreName) {
  void* p = SDL_GL_GetProcAddress(name);
  if (!p) p = SDL_GL_GetProcAddress(coreName);
  return reinterpret_cast<Proc>(p);
}

// Nearest-neighbour resampling to the logical size, for windows of another size.
Image ScaleToLogical(const Image& in) {
  if (in.width == kLogicalWidth && in.height == kLogicalHeight) return in;
  Image out{kLogicalWidth, kLogicalHeight, std::vector<uint8_t>(kLogicalWidth * kLogicalHeight * 4)};
  for (int y = 0; y < kLogicalHeight; ++y) {
    int sy = y * in.height / kLogicalHeight;
    for (int x = 0; x < kLogicalWidth; ++x) {
      int sx = x * in.width / kLogicalWidth;
      const uint8_t* src = &in.rgba[(static_cast<size_t>(sy) * in.width + sx) * 4];
      std::copy(src, src + 4, &out.rgba[(static_cast<size_t>(y) * kLogicalWidth + x) * 4]);
    }
  }
  return out;
}
}  // namespace

void GlRenderer::SetFixedState(const Viewport& v) {
  viewport_ = v;
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_DEPTH_TEST);
  glDepthRange(0.0, 0.1);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.1f);
  glClearColor(0, 0, 0, 0);
  glViewport(v.x, v.y, v.width, v.height);
}

bool GlRenderer::HasTextureCompression() {
  compressedTexImage2D = Fetch<PFNGLCOMPRESSEDTEXIMAGE2DARBPROC>("glCompressedTexImage2DARB",
                                                                 "glCompressedTexImage2D");
  getCompressedTexImage = Fetch<PFNGLGETCOMPRESSEDTEXIMAGEARBPROC>("glGetCompressedTexImageARB",
                                                                   "glGetCompressedTexImage");
  return compressedTexImage2D != nullptr && getCompressedTexImage != nullptr;
}

void GlRenderer::BeginFrame(double left, double right, double top, double bottom) {
  // The window may have been resized (or switched to full screen) since the last frame.
  Viewport v = platform_.LogicalViewport();
  if (v.x != viewport_.x || v.y != viewport_.y || v.width != viewport_.width ||
      v.height != viewport_.height) {
    viewport_ = v;
    glViewport(v.x, v.y, v.width, v.height);
  }
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(left, right, bottom, top, 0.0, -10.0);
}

Image GlRenderer::ReadViewport() const {
  Image raw{viewport_.width, viewport_.height,
            std::vector<uint8_t>(static_cast<size_t>(viewport_.width) * viewport_.height * 4)};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(viewport_.x, viewport_.y, viewport_.width, viewport_.height, GL_RGBA,
               GL_UNSIGNED_BYTE, raw.rgba.data());
  // GL reads bottom row first; pictures are stored top row first.
  size_t rowBytes = static_cast<size_t>(raw.width) * 4;
  std::vector<uint8_t> row(rowBytes);
  for (int y = 0; y < raw.height / 2; ++y) {
    uint8_t* a = &raw.rgba[y * rowBytes];
    uint8_t* b = &raw.rgba[(raw.height - 1 - y) * rowBytes];
    std::swap_ranges(a, a + rowBytes, b);
  }
  // The screen has no transparency; keep the saved picture opaque.
  for (size_t i = 3; i < raw.rgba.size(); i += 4) raw.rgba[i] = 255;
  return ScaleToLogical(raw);
}

void GlRenderer::FrameDone() {
  if (!captureRequested_) return;
  captureRequested_ = false;
  capture_ = ReadViewport();
}
